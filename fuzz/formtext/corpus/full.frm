// Every kind of value the reader handles, on the test classes.
object Form1: TTestForm
  Caption = 'Main'#13#10'window'
  Count = 70000
  Letter = 'Z'
  Align = taClient
  Anchors = [akRight, akBottom]
  Visible = False
  Hint = '提示'
  Big = 1099511627776
  Small = 200
  Color = clBtnFace
  Cursor = crHandPoint
  Font.Name = 'SimSun'
  Font.Size = 12
  Font.Charset = GB2312_CHARSET
  Lines.Strings = (
    'first'
    ''
    'third')
  Items = <
    item
      Text = 'one'
      Width = 120
    end
    item
    end>
  Blob = {
    0100FF0A}
  OnChange = ButtonChange
  object Button1: TTestWidget
    OnClick = ButtonClick
    Buddy = Panel1
  end
  object Panel1: TTestPanel
    object Child1: TTestChild
      Tag = 5
    end
  end
end
