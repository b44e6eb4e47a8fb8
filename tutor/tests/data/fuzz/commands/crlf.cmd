; x
[ShowText]
One
Two
[Delay]
-7x
