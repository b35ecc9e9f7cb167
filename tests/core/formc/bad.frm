object MainForm: TForm1
  Left = = 1
end
