-- Value tables of the engine and the globals a script keeps between calls.
local v = CreateVector()
v.X, v.Y = 3, 4
local p = CreatePoint()
p.X = v.X * 2
local c = CreateColor()
c.R, c.G, c.B = 1, 0.5, 0.25
total = math.sqrt(v.X * v.X + v.Y * v.Y) + p.X
