object ClockForm: TClockForm
  Caption = 'Clock'
  object Timer1: TTimer
    Interval = 250
    OnTimer = Timer1Timer
  end
  object ToolBar1: TToolBar
    Height = 26
  end
  object Gizmo1: TGizmo
    Speed = 3
    Target = Timer1
    Font.Size = 9
  end
end
