inherited Form2: TForm2
  Caption = 'Derived'
  inherited Button1: TButton [1]
    Left = 8
  end
  inline Frame1: TFrame1
    inherited Label1: TLabel
      Caption = 'in the frame'
    end
  end
  object TTimer
    Interval = 500
  end
  OBJECT Panel1: TPanel [0]
  END
end
