unit Swap;

interface

implementation

procedure TForm1.Load;
begin
  Edit1.Text := Data.Name;  // name
  Total := Count := 2;
  x := y
  := Missing;
  Nothing :=
  –¼‘O := Data.Caption; { •\Ž¦ }
  Refresh;
end;

end.
