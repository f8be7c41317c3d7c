object Form1: TForm1
  Caption = 'open
end
