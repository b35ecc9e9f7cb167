object Form1: TTestForm
end
