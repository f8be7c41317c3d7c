object Form1: TForm1
  object Button1: TButton
    Left = 1
  end
