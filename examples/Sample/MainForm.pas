unit MainForm;

{ メインフォーム：ボタンを押すと合計を表示する }

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls;

type
  TForm1 = class(TForm)
    Label1: TLabel;
    Edit1: TEdit;
    Button1: TButton;
    Memo1: TMemo;
    procedure FormCreate(Sender: TObject);
    procedure Button1Click(Sender: TObject);
  private
    FTotal: Integer;
    procedure AddLine(const S: string);
  public
    property Total: Integer read FTotal;
  end;

var
  Form1: TForm1;

procedure ShowTotal(Value: Integer);

implementation

uses
  Utils, Shapes;

{$R *.DFM}

// 初期化：合計を０にする
procedure TForm1.FormCreate(Sender: TObject);
begin
  FTotal := 0;
  ShowTotal(FTotal);
end;

procedure TForm1.Button1Click(Sender: TObject);
var
  Value: Integer;
begin
  { 入力された数値を加える }
  Value := StrToIntDef(Edit1.Text, 0);
  FTotal := Clamp(FTotal + Value, 0, 9999);
  AddLine(IntToStr(FTotal));
  ShowTotal(FTotal);
end;

procedure TForm1.AddLine(const S: string);
begin
  Memo1.Lines.Add(S);
end;

// 合計をラベルに表示する
procedure ShowTotal(Value: Integer);
begin
  if Form1 <> nil then
    Form1.Label1.Caption := '合計: ' + IntToStr(Value);
end;

end.
