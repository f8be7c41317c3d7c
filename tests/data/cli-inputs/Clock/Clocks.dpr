program Clocks;

uses
  Forms,
  Clock in 'Clock.pas' {ClockForm};

begin
  Application.Initialize;
  Application.Run;
end.
