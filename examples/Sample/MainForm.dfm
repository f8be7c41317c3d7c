object Form1: TForm1
  Left = 192
  Top = 107
  Width = 320
  Height = 240
  Caption = 'ÉTÉìÉvÉã'
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'ÇlÇr ÇoÉSÉVÉbÉN'
  Font.Style = []
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 12
  object Label1: TLabel
    Left = 16
    Top = 16
    Width = 36
    Height = 12
    Caption = 'çáåv: 0'
  end
  object Edit1: TEdit
    Left = 16
    Top = 40
    Width = 121
    Height = 20
    TabOrder = 0
    Text = '0'
  end
  object Button1: TButton
    Left = 152
    Top = 38
    Width = 75
    Height = 25
    Caption = 'â¡Ç¶ÇÈ'
    TabOrder = 1
    OnClick = Button1Click
  end
  object Memo1: TMemo
    Left = 16
    Top = 72
    Width = 281
    Height = 121
    Lines.Strings = (
      'óöó')
    TabOrder = 2
  end
end
