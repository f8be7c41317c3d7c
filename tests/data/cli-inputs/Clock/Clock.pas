unit Clock;

interface

uses
  Forms, ExtCtrls, ComCtrls, Gizmos;

type
  TClockForm = class(TForm)
    Timer1: TTimer;
    ToolBar1: TToolBar;
    Gizmo1: TGizmo;
    procedure Timer1Timer(Sender: TObject);
  end;

implementation

{$R *.DFM}

procedure TClockForm.Timer1Timer(Sender: TObject);
begin
  Gizmo1.Spin;
end;

end.
