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
