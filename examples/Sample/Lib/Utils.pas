unit Utils;

{ 汎用ルーチン：数値の範囲と文字列の処理 }

interface

function Clamp(Value, Low, High: Integer): Integer;
function Percent(Part, Whole: Integer): Integer;
function PadLeft(const S: string; Width: Integer): string;

implementation

// 百分率：範囲外は Clamp で丸める（Clamp の本体はこの後にある）
function Percent(Part, Whole: Integer): Integer;
begin
  if Whole = 0 then
    Result := 0
  else
    Result := Clamp(Part * 100 div Whole, 0, 100);
end;

function Clamp(Value, Low, High: Integer): Integer;
begin
  if Value < Low then
    Result := Low
  else if Value > High then
    Result := High
  else
    Result := Value;
end;

function PadLeft(const S: string; Width: Integer): string;

  // 入れ子のルーチン：空白を作る
  function Blanks(Count: Integer): string;
  begin
    Result := StringOfChar(' ', Count);
  end;

begin
  if Length(S) >= Width then
    Result := S
  else
    Result := Blanks(Width - Length(S)) + S;
end;

end.
