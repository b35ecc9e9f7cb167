// The skin gallery's main form. Left: the skin switches, the secondary windows and the page selector
// (one button per page of PageArea, made at run time). Right: the pages, one group box each; a later
// control family adds its page as another group box inside PageArea.
object GalleryForm: TGalleryForm
  Left = 120
  Top = 80
  BorderStyle = bsSizeable
  Caption = 'Quirn Skin Gallery'
  ClientHeight = 420
  ClientWidth = 620
  Color = clBtnFace
  Constraints.MinHeight = 360
  Constraints.MinWidth = 480
  Font.Height = -12
  Font.Name = 'Tahoma'
  Position = poScreenCenter
  OnCreate = FormCreate
  object SideBar: TGroupBox
    Left = 0
    Top = 0
    Width = 170
    Height = 401
    Align = alLeft
    TabOrder = 0
    object SkinBox: TGroupBox
      Left = 2
      Top = 2
      Width = 166
      Height = 138
      Align = alTop
      Caption = 'Skin'
      TabOrder = 0
      object DefaultSkinButton: TButton
        Left = 10
        Top = 20
        Width = 146
        Height = 25
        Caption = '&Default'
        TabOrder = 0
        OnClick = DefaultSkinButtonClick
      end
      object GraphiteSkinButton: TButton
        Left = 10
        Top = 48
        Width = 146
        Height = 25
        Caption = '&Graphite'
        TabOrder = 1
        OnClick = GraphiteSkinButtonClick
      end
      object FileSkinButton: TButton
        Left = 10
        Top = 76
        Width = 146
        Height = 25
        Caption = 'From a &file...'
        TabOrder = 2
        OnClick = FileSkinButtonClick
      end
      object SkinOffButton: TButton
        Left = 10
        Top = 104
        Width = 146
        Height = 25
        Caption = 'O&ff'
        TabOrder = 3
        OnClick = SkinOffButtonClick
      end
    end
    object WindowsBox: TGroupBox
      Left = 2
      Top = 140
      Width = 166
      Height = 138
      Align = alTop
      Caption = 'Windows'
      TabOrder = 1
      object ToolWindowButton: TButton
        Left = 10
        Top = 20
        Width = 146
        Height = 25
        Caption = '&Tool window'
        TabOrder = 0
        OnClick = ToolWindowButtonClick
      end
      object SizeToolWindowButton: TButton
        Left = 10
        Top = 48
        Width = 146
        Height = 25
        Caption = '&Sizeable tool window'
        TabOrder = 1
        OnClick = SizeToolWindowButtonClick
      end
      object DialogButton: TButton
        Left = 10
        Top = 76
        Width = 146
        Height = 25
        Caption = 'D&ialog'
        TabOrder = 2
        OnClick = DialogButtonClick
      end
      object MessageBoxButton: TButton
        Left = 10
        Top = 104
        Width = 146
        Height = 25
        Caption = '&Message box'
        TabOrder = 3
        OnClick = MessageBoxButtonClick
      end
    end
    object PagesBox: TGroupBox
      Left = 2
      Top = 278
      Width = 166
      Height = 121
      Align = alClient
      Caption = 'Pages'
      TabOrder = 2
    end
  end
  object PageArea: TGroupBox
    Left = 170
    Top = 0
    Width = 450
    Height = 401
    Align = alClient
    TabOrder = 1
    object FramePage: TGroupBox
      Left = 2
      Top = 2
      Width = 446
      Height = 397
      Align = alClient
      Caption = 'Frame and caption'
      TabOrder = 0
      object FrameLabel: TLabel
        Left = 12
        Top = 22
        Width = 420
        Height = 60
        AutoSize = False
        WordWrap = True
        Caption = 'The frame, the caption strip, its text and icon and the caption buttons come from the skin. Drag the caption, size the frame, maximize, minimize and restore; open the other windows on the left to see each frame kind.'
      end
      object SkinInfo: TMemo
        Left = 12
        Top = 90
        Width = 420
        Height = 290
        ReadOnly = True
        ScrollBars = ssVertical
        TabOrder = 0
      end
    end
    object TextPage: TGroupBox
      Left = 2
      Top = 2
      Width = 446
      Height = 397
      Align = alClient
      Caption = 'Edits and memos'
      TabOrder = 1
      Visible = False
      object NameLabel: TLabel
        Left = 12
        Top = 26
        Width = 40
        Height = 14
        Caption = 'Edit:'
      end
      object SampleEdit: TEdit
        Left = 90
        Top = 22
        Width = 250
        Height = 21
        TabOrder = 0
        Text = 'An edit box'
      end
      object ReadOnlyEdit: TEdit
        Left = 90
        Top = 50
        Width = 250
        Height = 21
        ReadOnly = True
        TabOrder = 1
        Text = 'A read-only edit box'
      end
      object SampleMemo: TMemo
        Left = 12
        Top = 84
        Width = 420
        Height = 160
        ScrollBars = ssBoth
        TabOrder = 2
        Lines.Strings = (
          'A memo with both scroll bars.'
          'Type here, or add lines until the vertical bar shows its thumb.'
          ''
          'The skin draws the memo''s frame and its scroll bars.')
      end
    end
    object ButtonPage: TGroupBox
      Left = 2
      Top = 2
      Width = 446
      Height = 397
      Align = alClient
      Caption = 'Push buttons'
      TabOrder = 2
      Visible = False
      object NormalButton: TButton
        Left = 12
        Top = 26
        Width = 120
        Height = 25
        Caption = 'Normal'
        TabOrder = 0
      end
      object DefaultButton: TButton
        Left = 144
        Top = 26
        Width = 120
        Height = 25
        Caption = 'Default'
        Default = True
        TabOrder = 1
      end
      object DisabledButton: TButton
        Left = 276
        Top = 26
        Width = 120
        Height = 25
        Caption = 'Disabled'
        Enabled = False
        TabOrder = 2
      end
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 401
    Width = 620
    Height = 19
    SimplePanel = True
  end
  object SkinData1: TSkinData
    Active = True
    SkinStream = @SKINSTREAM@
  end
end
