-- Drives `quorlin lsp` through Neovim's own LSP client, as a user does: the outline, jumps, a
-- workspace search, references, a code action and component renames with a text and a binary form on
-- MainForm.pas of a copy of the sample project, before and after unsaved edits. Sourced with --cmd,
-- before the user's set-up starts the server; Neovim exits with status 1 and the failures on standard
-- error when an answer is wrong or missing.

local timeout_ms = 10000
local failures = {}
local server_exit

-- The set-up starts the server; its exit status shows whether shutdown and exit were clean.
local start_client = vim.lsp.start_client
vim.lsp.start_client = function(config)
  local on_exit = config.on_exit
  config.on_exit = function(code, signal, client_id)
    server_exit = { code = code, signal = signal }
    if on_exit then
      on_exit(code, signal, client_id)
    end
  end
  return start_client(config)
end

local function expect(ok, message)
  if not ok then
    table.insert(failures, message)
  end
  return ok
end

-- Waits for the condition, but not past the server's end.
local function wait_for(what, condition)
  vim.wait(timeout_ms, function()
    return condition() or server_exit ~= nil
  end, 20)
  return expect(condition(), 'no ' .. what .. ' within ' .. timeout_ms .. ' ms'
    .. (server_exit and ' (the server has ended)' or ''))
end

local function client_of(buffer)
  local _, client = next(vim.lsp.buf_get_clients(buffer))
  return client
end

-- The result of one request of the buffer's client, or nil with the reason recorded.
local function request(buffer, method, params)
  local answers, err = vim.lsp.buf_request_sync(buffer, method, params, timeout_ms)
  local _, answer = next(answers or {})
  if not expect(answer, method .. ': no answer (' .. tostring(err) .. ')') then
    return nil
  end
  if not expect(not answer.err and not answer.error, method .. ': ' .. vim.inspect(answer.err or answer.error)) then
    return nil
  end
  return answer.result
end

-- Runs an editor command that fills the quickfix list and returns the list's items, each with
-- its file name, line and column (bytes of the buffer's UTF-8 text, 1-based).
local function quickfix_of(what, command, window)
  vim.fn.setqflist({}, 'r')
  command()
  wait_for(what .. ' in the quickfix list', function()
    return #vim.fn.getqflist() > 0
  end)
  local items = {}
  for _, item in ipairs(vim.fn.getqflist()) do
    table.insert(items, {
      file = vim.api.nvim_buf_get_name(item.bufnr),
      lnum = item.lnum,
      col = item.col,
      text = item.text,
    })
  end
  vim.cmd('cclose')
  vim.api.nvim_set_current_win(window)
  return items
end

local function place(line, word)
  local column = vim.fn.getline(line):find(word, 1, true)
  assert(column, word .. ' is not on line ' .. line)
  vim.api.nvim_win_set_cursor(0, { line, column - 1 })
end

local function ends_with(text, tail)
  return text:sub(-#tail) == tail
end

-- The items as "File.pas:LINE:COL", sorted by file name, line and column.
local function occurrences(items)
  local tail = function(item)
    return vim.fn.fnamemodify(item.file, ':t')
  end
  table.sort(items, function(a, b)
    if tail(a) ~= tail(b) then
      return tail(a) < tail(b)
    end
    if a.lnum ~= b.lnum then
      return a.lnum < b.lnum
    end
    return a.col < b.col
  end)
  return table.concat(vim.tbl_map(function(item)
    return string.format('%s:%d:%d', tail(item), item.lnum, item.col)
  end, items), ' ')
end

local function check_outline(buffer, expected)
  local symbols = request(buffer, 'textDocument/documentSymbol',
    { textDocument = { uri = vim.uri_from_bufnr(buffer) } })
  if not symbols then
    return
  end
  local entries = {}
  for _, symbol in ipairs(symbols) do
    table.insert(entries, symbol.name .. (symbol.detail or ''))
    local header = vim.api.nvim_buf_get_lines(buffer, symbol.selectionRange.start.line,
      symbol.selectionRange.start.line + 1, false)[1] or ''
    expect(header:match('^%a+%s+([%w_.]+)') == symbol.name,
      'outline: ' .. symbol.name .. ' is not on its header line but on "' .. header .. '"')
  end
  expect(vim.deep_equal(entries, expected),
    'outline: ' .. vim.inspect(entries) .. ', expected ' .. vim.inspect(expected))
  return symbols
end

local function run()
  local window = vim.api.nvim_get_current_win()
  local main = vim.api.nvim_get_current_buf()
  local path = vim.api.nvim_buf_get_name(main)
  local on_disk = vim.fn.readfile(path, 'b')
  if not wait_for('initialized server attached to MainForm.pas', function()
    local client = client_of(main)
    return client and client.initialized
  end) then
    return
  end

  -- The outline is the routine list of `quorlin routines --unsorted`, entry by entry.
  local routines = vim.fn.systemlist({ 'quorlin', 'routines', '--unsorted', path })
  expect(vim.v.shell_error == 0 and #routines == 4, 'quorlin routines: ' .. vim.inspect(routines))
  local symbols = check_outline(main, routines)
  if symbols then
    local kinds = {}
    for _, symbol in ipairs(symbols) do
      table.insert(kinds, symbol.kind)
    end
    local method, fn = vim.lsp.protocol.SymbolKind.Method, vim.lsp.protocol.SymbolKind.Function
    expect(vim.deep_equal(kinds, { method, method, method, fn }), 'outline kinds: ' .. vim.inspect(kinds))
  end
  local lines = vim.tbl_map(function(item)
    return item.lnum
  end, quickfix_of('outline', vim.lsp.buf.document_symbol, window))
  expect(vim.deep_equal(lines, { 39, 45, 56, 62 }), 'outline shown on lines ' .. vim.inspect(lines))

  -- A method declared in the class jumps to its implementation.
  place(21, 'AddLine')
  vim.lsp.buf.definition()
  wait_for('jump from AddLine to line 56', function()
    return vim.api.nvim_win_get_cursor(0)[1] == 56
  end)

  -- A unit in the uses clause opens that unit, read in its code page as the set-up says.
  place(34, 'Utils')
  vim.lsp.buf.definition()
  if wait_for('jump from Utils to Lib/Utils.pas', function()
    return ends_with(vim.api.nvim_buf_get_name(0), '/Lib/Utils.pas')
  end) then
    expect(vim.fn.getline(3):find('汎用ルーチン', 1, true), 'Lib/Utils.pas is not read as code page 932: '
      .. vim.fn.getline(3))
    wait_for('server attached to Lib/Utils.pas', function()
      return client_of(0) ~= nil
    end)
  end
  vim.api.nvim_win_set_buf(window, main)

  -- The workspace search ranks the whole name first and finds routines by a subsequence of theirs.
  local found = quickfix_of('workspace symbols for clamp', function()
    vim.lsp.buf.workspace_symbol('clamp')
  end, window)
  expect(found[1] and ends_with(found[1].file, '/Lib/Utils.pas') and found[1].lnum == 22
    and found[1].text:find('Clamp', 1, true), 'workspace symbol clamp: ' .. vim.inspect(found[1]))
  local scattered = request(main, 'workspace/symbol', { query = 'btn1clk' }) or {}
  expect(scattered[1] and scattered[1].name:find('Button1Click', 1, true)
    and ends_with(scattered[1].location.uri, '/MainForm.pas'), 'workspace symbol btn1clk: ' .. vim.inspect(scattered[1]))
  local units = request(main, 'workspace/symbol', { query = 'Shapes' }) or {}
  expect(vim.tbl_filter(function(symbol)
    return symbol.kind == vim.lsp.protocol.SymbolKind.Module and ends_with(symbol.location.uri, '/Shapes.pas')
  end, units)[1], 'workspace symbol Shapes: no unit ' .. vim.inspect(units))

  -- References across the workspace, not in comments (Utils.pas line 13 names Clamp twice).
  place(51, 'Clamp')
  local clamp = quickfix_of('references of Clamp', vim.lsp.buf.references, window)
  local expected = 'MainForm.pas:51:13 Utils.pas:7:10 Utils.pas:19:15 Utils.pas:22:10'
  expect(occurrences(clamp) == expected, 'references of Clamp: ' .. occurrences(clamp) .. ', expected ' .. expected)

  -- Unsaved edits: a call after Japanese text (UTF-16 positions both ways) and a new routine.
  vim.api.nvim_buf_set_lines(main, 53, 53, true, { '  {合計} ShowTotal(1);' })
  vim.api.nvim_buf_set_lines(main, 68, 68, true, { 'procedure ResetTotal;', 'begin', '  ShowTotal(0);', 'end;', '' })
  table.insert(routines, 'ResetTotal;')
  check_outline(main, routines)
  place(54, 'ShowTotal')
  local calls = quickfix_of('references of ShowTotal', vim.lsp.buf.references, window)
  expected = 'MainForm.pas:29:11 MainForm.pas:42:3 MainForm.pas:53:3 MainForm.pas:54:12 MainForm.pas:63:11 '
    .. 'MainForm.pas:71:3'
  expect(occurrences(calls) == expected, 'references of ShowTotal: ' .. occurrences(calls) .. ', expected ' .. expected)
  local reset = quickfix_of('workspace symbols for resettotal', function()
    vim.lsp.buf.workspace_symbol('resettotal')
  end, window)
  expect(reset[1] and ends_with(reset[1].file, '/MainForm.pas') and reset[1].lnum == 69,
    'workspace symbol ResetTotal in the unsaved buffer: ' .. vim.inspect(reset[1]))

  -- Code actions picked from the list, each inserting what its command makes of the unit: the
  -- swap on two selected lines through the set-up's visual-mode key, below them; Edit1's
  -- data-access routines (Japanese comments through code page 932 and back) in front of the
  -- cursor's line.
  local select = vim.ui.select
  local offered
  local function choose(title)
    offered = {}
    vim.ui.select = function(items, options, on_choice)
      local chosen
      for _, item in ipairs(items) do
        table.insert(offered, (options.format_item(item)))
        if offered[#offered] == title then
          chosen = item
        end
      end
      on_choice(chosen)
    end
  end
  local swapped = vim.fn.systemlist({ 'quorlin', 'swap', path, '--block', '50-51', '--cursor', '52', '--dry-run' })
  expect(vim.v.shell_error == 0, 'quorlin swap: ' .. vim.inspect(swapped))
  swapped = vim.tbl_map(function(line)
    return (line:gsub('\r$', ''))
  end, { swapped[52], swapped[53] })
  choose('Swap assignments')
  vim.api.nvim_win_set_cursor(0, { 50, 0 })
  vim.api.nvim_feedkeys('Vj\\a', 'x', false)
  wait_for('swapped assignments below line 51', function()
    return vim.deep_equal(vim.api.nvim_buf_get_lines(main, 51, 53, true), swapped)
  end)
  expect(vim.deep_equal(offered, { 'Swap assignments' }), 'code actions on two lines: ' .. vim.inspect(offered))

  local printed = vim.fn.systemlist({ 'quorlin', 'db-access', path, '--select', 'Edit1' })
  expect(vim.v.shell_error == 0 and #printed > 10, 'quorlin db-access: ' .. vim.inspect(printed))
  choose('Insert data-access routines for Edit1')
  place(50, 'Edit1')
  vim.lsp.buf.code_action()
  wait_for('data-access routines in front of line 50', function()
    return vim.fn.getline(52) == 'procedure Txxxx.WriteItem( Item:T ; DataSet:TDataSet );'
  end)
  vim.ui.select = select
  expect(#offered == 2, 'code actions on Edit1: ' .. vim.inspect(offered))
  local inserted = vim.api.nvim_buf_get_lines(main, 49, 49 + #printed, true)
  expect(vim.deep_equal(inserted, printed), 'data-access routines: ' .. vim.inspect(inserted))
  expect(vim.fn.getline(50 + #printed):find('Edit1.Text', 1, true), 'line 50 did not move down: '
    .. vim.fn.getline(50 + #printed))

  expect(vim.deep_equal(vim.fn.readfile(path, 'b'), on_disk), 'MainForm.pas changed on disk')

  -- Component renames, checked against `quorlin rename` on copies of the files as the buffers hold
  -- them: a text form is edited in its buffer, a binary one written by the server.
  local folder = vim.fn.fnamemodify(path, ':h')
  local reference = vim.fn.tempname()
  vim.fn.mkdir(reference, 'p')
  for _, file in ipairs({ 'MainForm.dfm', 'ViewOptions.pas', 'ViewOptions.dfm' }) do
    vim.fn.system({ 'cp', folder .. '/' .. file, reference })
  end
  vim.fn.writefile(vim.tbl_map(function(line)
    return vim.fn.iconv(line, 'utf-8', 'cp932') .. '\r'
  end, vim.api.nvim_buf_get_lines(main, 0, -1, true)), reference .. '/MainForm.pas')
  local function quorlin_rename(unit, old, new)
    local said = vim.fn.system({ 'quorlin', 'rename', reference .. '/' .. unit, old, new })
    return expect(vim.v.shell_error == 0, 'quorlin rename ' .. unit .. ': ' .. said)
  end
  local function same_file(file)
    vim.fn.system({ 'cmp', '-s', folder .. '/' .. file, reference .. '/' .. file })
    return vim.v.shell_error == 0
  end
  -- A code page 932 file's lines as a buffer holds them.
  local function lines_of(file)
    return vim.tbl_map(function(line)
      return vim.fn.iconv(line, 'cp932', 'utf-8')
    end, vim.fn.readfile(reference .. '/' .. file))
  end

  place(15, 'Button1')
  vim.lsp.buf.rename('OkButton')
  if wait_for('Button1 renamed in MainForm.pas', function()
    return vim.fn.getline(15):find('OkButton: TButton', 1, true) ~= nil
  end) and quorlin_rename('MainForm.pas', 'Button1', 'OkButton') then
    expect(vim.deep_equal(vim.api.nvim_buf_get_lines(main, 0, -1, true), lines_of('MainForm.pas')),
      'MainForm.pas after the rename is not what quorlin rename makes of it')
    local form = vim.fn.bufnr(folder .. '/MainForm.dfm')
    if expect(form > 0 and vim.bo[form].modified, 'MainForm.dfm was not edited') then
      vim.api.nvim_buf_call(form, function()
        vim.cmd('silent write')
      end)
      expect(same_file('MainForm.dfm'), 'MainForm.dfm as saved is not what quorlin rename writes')
    end
  end

  vim.cmd('edit ' .. vim.fn.fnameescape(folder .. '/ViewOptions.pas'))
  local options = vim.api.nvim_get_current_buf()
  if wait_for('server attached to ViewOptions.pas', function()
    return client_of(options) ~= nil
  end) and quorlin_rename('ViewOptions.pas', 'CancelButton', 'CloseButton') then
    place(vim.fn.search('CancelButton: TButton'), 'CancelButton')
    vim.lsp.buf.rename('CloseButton')
    wait_for('ViewOptions.dfm renamed on disk', function()
      return same_file('ViewOptions.dfm')
    end)
    expect(vim.deep_equal(vim.api.nvim_buf_get_lines(options, 0, -1, true), lines_of('ViewOptions.pas')),
      'ViewOptions.pas after the rename is not what quorlin rename makes of it')
  end
  vim.fn.delete(reference, 'rf')
  vim.lsp.stop_client(client_of(main).id)
  if wait_for('server exit after shutdown', function()
    return server_exit ~= nil
  end) then
    expect(server_exit.code == 0 and server_exit.signal == 0, 'server exit: ' .. vim.inspect(server_exit))
  end
end

local function finish()
  if #failures == 0 then
    io.stdout:write('neovim client: all answers right\n')
    vim.cmd('qall!')
    return
  end
  io.stderr:write('\n' .. table.concat(failures, '\n') .. '\n')
  vim.cmd('cquit 1')
end

vim.api.nvim_create_autocmd('VimEnter', {
  once = true,
  callback = function()
    vim.schedule(function()
      local ok, err = xpcall(run, debug.traceback)
      expect(ok, tostring(err))
      finish()
    end)
  end,
})
