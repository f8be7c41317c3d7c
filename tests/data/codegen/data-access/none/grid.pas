

procedure Txxxx.WriteItemToGrid( Index:Longint; Item:T ; CtrlGrid:TRyCtrlGrid );
//------------------------------------------------------------
// グリッドに指定されたリスト要素を書き込む
//------------------------------------------------------------
begin
  with Item, CtrlGrid do begin
  end;
end;


procedure Txxxx.ReadItemFromGrid( Index:Longint; Item:T ; CtrlGrid:TRyCtrlGrid );
//------------------------------------------------------------
// 指定したリスト要素をグリッドから読み込む 
//------------------------------------------------------------
begin
  with Item, CtrlGrid do begin
  end;
end;
