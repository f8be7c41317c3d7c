program Gadgets;

uses
  Forms,
  GadgetForm in 'GadgetForm.pas' {GadgetForm},
  NoForm in 'NoForm.pas';

begin
  Application.Initialize;
  Application.CreateForm(TGadgetForm, GadgetForm);
  Application.Run;
end.
