inherited DerivedForm: TDerivedForm
  Caption = 'Derived'
  inherited pnlBody: TPanel
    object btnMore: TButton
      Caption = 'More'
    end
  end
end
