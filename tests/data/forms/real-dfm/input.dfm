object Form1: TForm1
  Left = 153
  Height = 528
  Top = 77
  Width = 608
  Caption = 'LazUnicode Demo'
  ClientHeight = 528
  ClientWidth = 608
  LCLVersion = '1.9.0.0'
  object Button1: TButton
    Left = 0
    Height = 29
    Top = 0
    Width = 608
    Align = alTop
    AutoSize = True
    Caption = 'Test LazUnicode functions and enumerators'
    OnClick = Button1Click
    TabOrder = 0
  end
  object Memo1: TMemo
    Left = 0
    Height = 499
    Top = 29
    Width = 608
    Align = alClient
    ScrollBars = ssAutoBoth
    TabOrder = 1
  end
end
