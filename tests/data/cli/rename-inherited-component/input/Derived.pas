unit Derived;

interface

uses
  Forms, StdCtrls, Base;

type
  TDerivedForm = class(TBaseForm)
    btnMore: TButton;
  end;

implementation

{$R *.DFM}

end.
