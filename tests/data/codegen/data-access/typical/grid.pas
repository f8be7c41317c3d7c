

procedure Txxxx.WriteItemToGrid( Index:Longint; Item:T ; CtrlGrid:TRyCtrlGrid );
//------------------------------------------------------------
// グリッドに指定されたリスト要素を書き込む
//------------------------------------------------------------
begin
  with Item, CtrlGrid do begin
    FieldAsInteger[ 'Count' ] := Count;
    FieldAsString[ 'Caption' ] := Caption;
    FieldAsFloat[ 'Ratio' ] := Ratio;
    FieldAsVariant[ 'Value' ] := Value;
    FieldAsUnKnown[ 'Accel' ] := Accel;
  end;
end;


procedure Txxxx.ReadItemFromGrid( Index:Longint; Item:T ; CtrlGrid:TRyCtrlGrid );
//------------------------------------------------------------
// 指定したリスト要素をグリッドから読み込む 
//------------------------------------------------------------
begin
  with Item, CtrlGrid do begin
    Count:= FieldAsInteger[ 'Count' ];
    Caption:= FieldAsString[ 'Caption' ];
    Ratio:= FieldAsFloat[ 'Ratio' ];
    Value:= FieldAsVariant[ 'Value' ];
    Accel:= FieldAsUnKnown[ 'Accel' ];
  end;
end;
