object Form1: TForm1
  Caption = #70000
end
