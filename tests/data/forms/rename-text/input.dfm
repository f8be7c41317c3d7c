object Form1: TForm1
  ActiveControl = Edit1
  object Edit1 : TEdit
    Text = 'Edit1'
    OnChange = Edit1Change
  end
  object Label1: TLabel
    FocusControl = edit1
    Hint = 'Edit1' + #13 +
      'next'
  end
end
