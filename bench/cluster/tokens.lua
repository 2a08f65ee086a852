-- wrk script: each request carries the session token of the next of several accounts in turn, as
-- a school's many students would, so that no single account's share of the server's requests in
-- flight (maxRequestsPerAccount) limits the run. The tokens, one a line, are in $ORBELO_TOKENS.
local tokens = {}
for line in io.lines(os.getenv("ORBELO_TOKENS")) do
  tokens[#tokens + 1] = line
end
local next = 0

request = function()
  next = next % #tokens + 1
  return wrk.format(nil, nil, { ["Authorization"] = "Bearer " .. tokens[next] })
end
