object Form1: TForm1
  Left = -8
  Top = $10
  Tag = $FFFFFFFF
  HelpContext = 70000
  Big = 5000000000
  Small = -129
  Ratio = 1.5
  Tiny = 1E-5
  Scale = 0.25s
  Price = 12.34c
  Most = 922337203685477.5807c
  Least = -922337203685477.5808c
  Rounded = -0.00005c
  When = 36526.5d
  Caption = 'It''s a form'
  Hint = 'line one'#13#10'line two'
  Note = 'first part, ' +
    'second part' + #9 +
      'third'
  Title = '合計フォーム'
  WideTitle = #12354#12356'abc'
  Empty = ''
  Color = clBtnFace
  DataSource = DataModule1.Source1
  Visible = True
  Enabled = false
  PopupMenu = nil
  Font.Style = [fsBold, fsItalic]
  BorderIcons = []
  Lines.Strings = (
    'one'
    'two'
    3
    (
      nested))
  Items.Strings = ()
  Columns = <
    item
      Width = 64
      Title.Caption = 'Name'
    end
    item [2]
      Width = 32
    end>
  Panels = <>
  Glyph.Data = {
    0001020304050607 08090A0B0C0D0E0F
    FF}
  Nothing.Data = {}
end
