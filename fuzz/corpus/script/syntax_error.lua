local x = 
  for