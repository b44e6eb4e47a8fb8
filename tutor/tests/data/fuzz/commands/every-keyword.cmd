; VORN tutorial - ASCII 0x20..0x7A only on this line
; Guided run 1: the order level of a raw material.
[OpenFile]
SAMPLE.VNB
[ExecMenu]
32779
[ShowText]
Raise XA's order level to 200.
[ExecMenu]
501
[Delay]
600
[ConfirmText]
Type 200 under Order Level for XA, press OK, then Continue.
[ShowText]
Run and watch XA's box.
[ShowMenu]
2,120,40
[CLickButton]
Order,1
[CheckButton]
Order,1001,1
[SetEditText]
Order,1002,25,more
[SelectCombo]
Order,1003,1
[SelectList]
Order,1004,2
[SimulateExecMenu]
2,120,40,1
[ConfirmContinue]
[PositionWizard]
500,500
[CloseCurrentWindow]
[SimulateSelectCombo]
Order,1003,1
[CloseWindow]
Order
[Bogus]
