#!/usr/bin/env lua
-- Entry points an object calls, closures and a coroutine.
function Update(dt)
  counter = (counter or 0) + dt
  return counter
end
local function makeAdder(n) return function(x) return x + n end end
local add3 = makeAdder(3)
local co = coroutine.create(function(a) local b = coroutine.yield(a + 1) return b * 2 end)
local _, first = coroutine.resume(co, add3(1))
local _, second = coroutine.resume(co, first)
names = { "a", "b", second, [10] = "ten" }
for i, name in ipairs(names) do names[i] = tostring(name) .. i end
