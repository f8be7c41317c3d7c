program Damaged;

uses
  Forms,
  MainForm in 'Sample\MainForm.pas' {Form1},
  Broken in 'Broken.pas' {BrokenForm};

begin
  Application.Initialize;
  Application.Run;
end.
