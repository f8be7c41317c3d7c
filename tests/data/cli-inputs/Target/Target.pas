unit Target;

implementation

procedure Run;
begin
  Prepare;
  Finish;
end;

end.
