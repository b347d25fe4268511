-- A runtime error after some work: the script stays loaded with its error kept.
local t = setmetatable({}, { __index = function(_, k) return k .. "!" end })
local s = string.format("%s %d %5.2f", t.x, 7, 1.5)
local ok, message = pcall(error, { code = 1 })
error("stopped at " .. s)
