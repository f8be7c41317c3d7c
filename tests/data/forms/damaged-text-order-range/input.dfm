object Form1: TForm1
  inherited Button1: TButton [2147483648]
  end
end
