object GadgetForm: TGadgetForm
  Caption = 'Gadgets'
  object Gadget1: TGadget
    Caption = 'First'
    Font.Name = 'Fixed'
    OnClick = Gadget1Click
  end
  object Gadget2: TGadget
    Action = Gadget1
    Caption = 'Second'
  end
  object Plain: TBareGadget
  end
end
