unit Shapes;

{ 図形クラス：フォームを持たないユニット }

interface

uses
  Classes;

type
  TShapeKind = (skBox, skCircle);

  TShape = class(TObject)
  private
    FKind: TShapeKind;
    FWidth: Integer;
    FHeight: Integer;
  public
    constructor Create(AKind: TShapeKind);
    destructor Destroy; override;
    class procedure Register(List: TList);
    function Area: Integer;
    procedure Resize(AWidth,
      AHeight: Integer);
    procedure Scale(Factor: Integer); { 拡大 }
  end;

implementation

{ 作成時の既定の大きさは 10 × 10 }
constructor TShape.Create(AKind: TShapeKind);
begin
  inherited Create;
  FKind := AKind;
  Resize(10, 10);
end;

destructor TShape.Destroy;
begin
  inherited Destroy;
end;

class procedure TShape.Register(List: TList);
begin
  List.Add(TShape.Create(skBox));
end;

function TShape.Area: Integer;
begin
  if FKind = skCircle then
    Result := FWidth * FHeight * 314 div 400
  else
    Result := FWidth * FHeight;
end;

procedure TShape.Resize(AWidth,
  AHeight: Integer);
begin
  FWidth := AWidth;
  FHeight := AHeight;
end;

procedure TShape.Scale(Factor: Integer); { 大きさを倍率で変える }
begin
  Resize(FWidth * Factor, FHeight * Factor);
end;

//procedure TShape.Rotate(Angle: Integer);
{procedure TShape.Mirror;}

(* 古い版の名残り：使わない *)

end.
