unit GadgetForm;

interface

uses
  Classes, Forms;

type
  TGadgetForm = class(TForm)
    Gadget1: TGadget;
    Gadget2: TGadget;
    Plain: TBareGadget;
    procedure Gadget1Click(Sender: TObject);
  end;

var
  GadgetForm: TGadgetForm;

implementation

{$R *.DFM}

procedure TGadgetForm.Gadget1Click(Sender: TObject);
begin
  Gadget2.Caption := Gadget1.Caption;
end;

end.
