unit ViewOptions;

{ 表示オプションのダイアログ（フォームはバイナリ形式） }

interface

uses
  Windows, SysUtils, Classes, Graphics, Controls, Forms, StdCtrls, ExtCtrls, Buttons,
  ComCtrls;

type
  TViewOptionsDlg = class(TForm)
    Panel1: TPanel;
    ShowLinesCheck: TCheckBox;
    SortGroup: TRadioGroup;
    OKButton: TBitBtn;
    CancelButton: TButton;
    StatusBar1: TStatusBar;
    procedure FormShow(Sender: TObject);
  private
    function GetSorted: Boolean;
  public
    property Sorted: Boolean read GetSorted;
  end;

var
  ViewOptionsDlg: TViewOptionsDlg;

implementation

{$R *.DFM}

// 表示のたびに名前順へ戻す
procedure TViewOptionsDlg.FormShow(Sender: TObject);
begin
  SortGroup.ItemIndex := 0;
end;

function TViewOptionsDlg.GetSorted: Boolean;
begin
  Result := SortGroup.ItemIndex = 0;
end;

end.
