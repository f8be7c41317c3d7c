object BrokenForm: TBrokenForm
  Caption = 'Broken
  object Button1: TButton
  end
end
