object Form1: TForm1
  Columns = <
    Width = 3
  >
end
