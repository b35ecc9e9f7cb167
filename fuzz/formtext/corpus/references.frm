object Form1: TTestForm
  object A: TTestWidget
    Buddy = B
  end
  object B: TTestWidget
    Buddy = A
    OnChange = ButtonChange
  end
end
