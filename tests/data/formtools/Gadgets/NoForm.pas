unit NoForm;

interface

implementation

end.
