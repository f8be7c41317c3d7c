object Form1: TForm1
  Caption = 'a' +
end
