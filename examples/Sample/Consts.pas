unit Consts;

{ 定数だけのユニット：実装部を持たない }

interface

const
  DefaultWidth = 10;
  DefaultHeight = 10;
  MaxTotal = 9999;
  TitleText = 'サンプル';

resourcestring
  SNotFound = '見つかりません';

end.
