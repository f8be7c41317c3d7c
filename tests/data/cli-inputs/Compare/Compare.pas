unit Compare;

implementation

const
  Limit = 10;
  a = b
  Name = Title; // title
end.
