object Form1: TForm1
  Columns = <
    item
      Width = 3
      Inline = 1
    end>
end
