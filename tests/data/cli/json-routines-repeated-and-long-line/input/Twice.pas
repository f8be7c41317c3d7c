unit Twice;

interface

procedure Log(const S: string);
function Twice(N: Integer): Integer;

implementation

{ Twice(N: Integer): Integer; is called by Log before its header }
procedure Log(const S: string);
begin
  WriteLn(S);
end;

function Twice(N: Integer): Integer;
begin
  Result := N * 2;
end;

procedure Log(const S: string);
begin
end;

end.
