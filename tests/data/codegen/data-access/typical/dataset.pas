

procedure Txxxx.WriteItem( Item:T ; DataSet:TDataSet );
//------------------------------------------------------------
// テーブルに指定されたクラスを書き込む
//------------------------------------------------------------
begin
  with Item, DataSet do begin
    FieldByName( 'Count' ).AsInteger := Count;
    FieldByName( 'Caption' ).AsString := Caption;
    FieldByName( 'Ratio' ).AsFloat := Ratio;
    FieldByName( 'Value' ).AsVariant := Value;
    FieldByName( 'Accel' ).AsUnKnown := Accel;
  end;
end;


procedure Txxxx.ReadItem( Item:T ; DataSet:TDataSet );
//------------------------------------------------------------
// 指定したクラスをテーブルから読み込む 
//------------------------------------------------------------
begin
  with Item, DataSet do begin
    Count := FieldByName( 'Count' ).AsInteger;
    Caption := FieldByName( 'Caption' ).AsString;
    Ratio := FieldByName( 'Ratio' ).AsFloat;
    Value := FieldByName( 'Value' ).AsVariant;
    Accel := FieldByName( 'Accel' ).AsUnKnown;
  end;
end;
