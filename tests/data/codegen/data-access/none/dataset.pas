

procedure Txxxx.WriteItem( Item:T ; DataSet:TDataSet );
//------------------------------------------------------------
// テーブルに指定されたクラスを書き込む
//------------------------------------------------------------
begin
  with Item, DataSet do begin
  end;
end;


procedure Txxxx.ReadItem( Item:T ; DataSet:TDataSet );
//------------------------------------------------------------
// 指定したクラスをテーブルから読み込む 
//------------------------------------------------------------
begin
  with Item, DataSet do begin
  end;
end;
