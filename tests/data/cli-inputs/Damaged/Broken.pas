unit Broken;

interface

uses
  Forms, StdCtrls;

type
  TBrokenForm = class(TForm)
    Button1: TButton;
  end;

implementation

{$R *.DFM}

end.
