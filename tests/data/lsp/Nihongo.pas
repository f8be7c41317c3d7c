unit Nihongo;

{ 日本語の単位: 位置の確認用 }

interface

procedure 表示(const 文字: string);
function Total: Integer;

implementation

uses
  Shapes;

procedure 表示(const 文字: string); { 画面に出す }
begin
  WriteLn('表示: ', 文字); Total;
end;

function Total: Integer; // 合計
begin
  Result := 0; { 注意マ Total } // Total
  WriteLn('Total ソ'); Total;
end;

end.
