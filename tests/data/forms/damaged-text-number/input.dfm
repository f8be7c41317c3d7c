object Form1: TForm1
  Tag = 99999999999999999999
end
