#!/usr/bin/python3
"""Checks that an executable can load and run on the oldest Windows and processor it is meant for.

    check_floor.py imports OBJDUMP EXE TABLE [--map MAP] [--floor]
    check_floor.py image OBJDUMP EXE --map MAP
    check_floor.py loaded SOURCE_FOLDER... TABLE
    check_floor.py values SOURCE_FOLDER... VALUES_TABLE

imports: every function EXE imports must be a row of TABLE (oldest-exports.tsv). With
--floor, each must also be exported, working, by Windows 95 and by NT 4.0; MAP (the
linker's map) names the object that pulled each failing import in.
image: the PE header asks for Windows 4.0, and every instruction of the code exists on an
i486 without a floating-point unit (a 486SX): none newer, no x87. MAP tells the code from
the tables the linker keeps in the same output section (which only look like
instructions), and names the function and object of each instruction found.
loaded: every function the code under the folders loads at run time (LOAD_PROC) is a row of
TABLE, and the row agrees with how it is loaded: from a module every process has
(GetModuleHandleA), with a fallback, only what Windows 95 or NT 4.0 lacks; from a DLL
loaded on demand (LoadLibraryA), only what both have.
values: every audited flag, structure size and session object name the code under the
folders hands the system is in a row of VALUES_TABLE (oldest-values.tsv) whose site names
its file; rows above the floor say when the code passes them; every row's site (files,
functions, calls) is live and still uses what the row lists. Sites and the files named in
failures are paths from the folder that holds the source folders.
Prints one line per failure and exits 1, or prints a summary and exits 0.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys

# The oldest systems the release must load on.
FLOOR_9X = {'95'}
FLOOR_NT = {'3.1', '3.5', '3.51', '4.0'}
NT_VERSIONS = ['3.1', '3.5', '3.51', '4.0', '2000', 'XP', '2003', 'Vista', '7', '8', '10']
WIN9X_VALUES = {'95', '98', 'ME', 'stub', 'none'}


def objdump(tool, exe, *options):
    result = subprocess.run([tool, *options, exe], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f'{tool} failed on {exe}: {result.stderr.strip()}')
    return result.stdout


def read_imports(tool, exe):
    """[(dll, function)] in import-table order; a function imported by ordinal only is
    named '#ordinal'."""
    imports = []
    dll = None
    for line in objdump(tool, exe, '-p').splitlines():
        named = re.match(r'\s*DLL Name: (\S+)', line)
        if named:
            dll = named.group(1)
            continue
        if dll is None:
            continue
        entry = re.match(r'\s*[0-9a-f]+\s+(\d+)\s+(\S+)\s*$', line)
        if entry:
            imports.append((dll, entry.group(2)))
            continue
        ordinal = re.match(r'\s*[0-9a-f]+\s+(\d+)\s+<none>', line)
        if ordinal:
            imports.append((dll, '#' + ordinal.group(1)))
        elif not line.strip():
            continue
        elif not line.lstrip().startswith('vma:'):
            dll = None
    return imports


def read_table(path):
    """{(dll lower-case, function): (win9x, nt, source)}; stops at malformed rows."""
    table = {}
    with open(path, encoding='utf-8') as rows:
        for number, line in enumerate(rows, 1):
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            fields = line.split('\t')
            if fields[0] == 'dll':
                continue
            if len(fields) != 5:
                sys.exit(f'{path}:{number}: expected 5 tab-separated fields, found {len(fields)}')
            dll, function, win9x, nt, source = fields
            if win9x not in WIN9X_VALUES or nt not in NT_VERSIONS + ['none']:
                sys.exit(f'{path}:{number}: unknown version "{win9x}" or "{nt}"')
            if not source.strip():
                sys.exit(f'{path}:{number}: {function} has no source')
            key = (dll.lower(), function)
            if key in table:
                sys.exit(f'{path}:{number}: {dll} {function} is listed twice')
            table[key] = (win9x, nt, source)
    return table


def read_map_references(path):
    """{imported function: the object file whose reference pulled it into the link}."""
    if not path:
        return {}
    references = {}
    with open(path, encoding='utf-8', errors='replace') as lines:
        text = lines.read()
    section = text.split('Archive member included', 1)[-1].split('\n\n', 1)[0]
    for referrer, symbol in re.findall(r'\n\s+(\S+) \((\S+)\)', section):
        found = re.match(r'_?_imp__?(\w+?)(@\d+)?$', symbol)
        if found:
            references.setdefault(found.group(1), referrer)
    return references


def check_imports(tool, exe, table_path, map_path, floor):
    imports = read_imports(tool, exe)
    if not any(dll.lower() == 'kernel32.dll' for dll, _ in imports):
        sys.exit(f'no import table read from {exe}')
    table = read_table(table_path)
    references = read_map_references(map_path)
    failures = []
    for dll, function in imports:
        origin = references.get(function)
        where = f' (pulled in by {origin})' if origin else ''
        row = table.get((dll.lower(), function))
        if row is None:
            failures.append(f'{dll} {function}{where}: not in {table_path}; '
                            'find the oldest Windows that exports it and add it')
            continue
        win9x, nt, source = row
        if floor and (win9x not in FLOOR_9X or nt not in FLOOR_NT):
            failures.append(f'{dll} {function}{where}: Windows 9x {win9x}, NT {nt} ({source}); '
                            'the release must load on Windows 95 and NT 4.0')
    for failure in failures:
        print(failure)
    if failures:
        return 1
    dlls = sorted({dll for dll, _ in imports}, key=str.lower)
    print(f'{len(imports)} imports from {", ".join(dlls)}: '
          + ('all exported by Windows 95 and NT 4.0' if floor else 'all known'))
    return 0


def read_run_time_loads(source_folders):
    """[(file:line, dll, function, how)] for every LOAD_PROC(module, Function) under the
    folders; how is the call that gave the module (GetModuleHandleA or LoadLibraryA), found
    in the LOAD_PROC itself or where its variable was set in the same file."""
    loads = []
    folders = [pathlib.Path(folder).resolve() for folder in source_folders]
    root = pathlib.Path(os.path.commonpath([folder.parent for folder in folders]))
    paths = sorted({p for folder in folders for p in folder.rglob('*') if p.suffix in ('.cpp', '.c')})
    for path in paths:
        text = path.read_text(encoding='utf-8', errors='replace')
        for call in re.finditer(r'LOAD_PROC\((.+?),\s*(\w+)\)', text):
            module, function = call.groups()
            site = f'{path.relative_to(root).as_posix()}:{text.count(chr(10), 0, call.start()) + 1}'
            given = re.search(r'(GetModuleHandleA|LoadLibraryA)\("([^"]+)"\)', module)
            variable = re.match(r'\s*(\w+)', module).group(1)
            given = given or re.search(r'\b' + variable + r'\s*[({=]\s*(GetModuleHandleA|LoadLibraryA)\("([^"]+)"\)', text)
            if not given:
                sys.exit(f'{site}: cannot tell which module LOAD_PROC({module.strip()}, {function}) looks in')
            loads.append((site, given.group(2).lower(), function, given.group(1)))
    return loads


def check_run_time_loads(source_folders, table_path):
    """A function fetched from a module every process has (GetModuleHandleA) is one the floor
    lacks, or it would be imported; one from a DLL loaded on demand (LoadLibraryA, to spare a
    toolbar click its cost) has no fallback, so the floor must have it."""
    loads = read_run_time_loads(source_folders)
    if not loads:
        sys.exit(f'no LOAD_PROC found under {", ".join(source_folders)}')
    table = read_table(table_path)
    failures = []
    for site, dll, function, how in loads:
        row = table.get((dll, function))
        if row is None:
            failures.append(f'{site}: {dll} {function}: not in {table_path}; '
                            'find the oldest Windows that exports it and add it')
            continue
        win9x, nt, source = row
        on_floor = win9x in FLOOR_9X and nt in FLOOR_NT
        if how == 'GetModuleHandleA' and on_floor:
            failures.append(f'{site}: {dll} {function}: Windows 9x {win9x}, NT {nt} ({source}), yet looked up at '
                            'run time with a fallback; import it, or correct the row')
        if how == 'LoadLibraryA' and not on_floor:
            failures.append(f'{site}: {dll} {function}: Windows 9x {win9x}, NT {nt} ({source}), but loaded on '
                            'demand with no fallback; the release must run on Windows 95 and NT 4.0')
    for failure in failures:
        print(failure)
    if failures:
        return 1
    print(f'{len(loads)} functions loaded at run time: those with a fallback are newer than Windows 95 and '
          'NT 4.0, the others exported by both')
    return 0


# The families of flags and values audited in oldest-values.tsv: each one the code uses needs a
# row whose site names its file. Beside those the code hands over today, a few whose newer
# members are known traps (CSIDL_, BIF_, MOVEFILE_, ICC_, CREATE_, WC_).
AUDITED_VALUES = re.compile(
    r'\b(?:(?:SS|WS_EX|WS|DS|ES|BS|BN|SMTO|LR|SPI|MB|FORMAT_MESSAGE|REG|KEY|OFN|STARTF|STM|STN|DM|EM|WM|MONITOR|SWP'
    r'|SW|IMAGE|ICON|EDGE|BF|SM|ODT|PROCESS|PAGE|FILE_MAP|DUPLICATE|GWLP?|DWLP?|COLOR|HKEY|GENERIC|FILE_SHARE'
    r'|FILE_ATTRIBUTE|FILE_FLAG|CREATE|RT|FW|FF|DT|CP|WC|CSIDL|BIF|MOVEFILE|ICC)_[A-Z0-9_]+'
    r'|[A-Z]+_(?:QUALITY|CHARSET|PRECIS|PITCH)'
    r'|ID(?:OK|CANCEL|ABORT|RETRY|IGNORE|YES|NO|CLOSE|HELP|TRYAGAIN|CONTINUE)|OPEN_(?:EXISTING|ALWAYS)|TRUNCATE_EXISTING'
    r'|SYNCHRONIZE|TRANSPARENT|OPAQUE|LOGPIXELS[XY])\b')
# Names in those families that are types, not values.
NOT_VALUES = {'PROCESS_INFORMATION'}
# A structure's size member set before the structure is handed over: record.lStructSize = ...;
SIZE_MEMBER = re.compile(r'\b(\w+)\.(lStructSize|cbSize|cb|length|nLength|dw\w*Size)\s*=\s*([^;]+);')
# The same, as a row writes it: OPENFILENAMEA.lStructSize = OPENFILENAME_SIZE_VERSION_400A (76 bytes...)
ROW_SIZE_MEMBER = re.compile(r'\b(\w+)\.(lStructSize|cbSize|cb|length|nLength|dw\w*Size) = (.+?)(?= \(|;|,|$)')
# A system structure's size handed over as an argument: GetObjectA(font, sizeof(LOGFONTA), ...).
SIZE_ARGUMENT = re.compile(r'\bsizeof\(\s*(\w+)\s*\)')
# A kernel object's name in a session namespace, which Windows before 2000 refuses.
OBJECT_NAME = re.compile(r'\b(?:Global|Local|Session)\\[^\s,;()"]*')
# A comment, a string literal or a character literal, in the order they come.
COMMENT_OR_LITERAL = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)
SOURCE_SUFFIXES = ('.cpp', '.c', '.h')


class Source:
    """One file of the code: its text with comments blanked and literals emptied (lines kept),
    and what it hands the system: audited flags, structure sizes and object names, each with
    the line it is first on."""

    def __init__(self, path, shown):
        self.shown = shown
        text = path.read_text(encoding='utf-8', errors='replace')
        literals = []

        def blank(found):
            token = found.group(0)
            if token.startswith('"'):
                literals.append((found.start(), token[1:-1].replace('\\\\', '\\')))
                return '""'
            if token.startswith("'"):
                return "' '"
            return '\n' * token.count('\n')

        self.code = COMMENT_OR_LITERAL.sub(blank, text)
        line_in_text = lambda at: text.count('\n', 0, at) + 1
        self.flags, self.sizes, self.names = {}, {}, {}
        for flag in AUDITED_VALUES.finditer(self.code):
            if flag.group(0) not in NOT_VALUES:
                self.flags.setdefault(flag.group(0), self.line(flag.start()))
        for size in SIZE_MEMBER.finditer(self.code):
            variable, member, value = size.groups()
            structure = self.structure_of(variable)
            value = re.sub(r'sizeof\(\s*' + variable + r'\s*\)', f'sizeof({structure})', ' '.join(value.split()))
            self.sizes.setdefault(f'{structure}.{member} = {value}', self.line(size.start()))
        for size in SIZE_ARGUMENT.finditer(self.code):
            structure = self.structure_of(size.group(1))
            if re.fullmatch(r'[A-Z][A-Z0-9_]*', structure) and self.argument_of_system_call(size):
                self.sizes.setdefault(f'sizeof({structure})', self.line(size.start()))
        for at, literal in literals:
            if OBJECT_NAME.fullmatch(literal):
                self.names.setdefault(literal, line_in_text(at))

    def line(self, at):
        return self.code.count('\n', 0, at) + 1

    def structure_of(self, variable):
        """The type a variable is declared with (LOGFONTA font = {}), or the name itself."""
        declared = re.search(r'\b([A-Z_][A-Z0-9_]*)\s+' + variable + r'\s*[={;(]', self.code)
        return declared.group(1) if declared else variable

    def argument_of_system_call(self, found):
        """True when `found` is a whole argument of a call to a function named as the system
        names its own (GetObjectA(...)): not a C library function, not arithmetic."""
        before = self.code[:found.start()].rstrip()
        after = self.code[found.end():].lstrip()
        if not before.endswith(('(', ',')) or not after.startswith((',', ')')):
            return False
        depth = 0
        for at in range(len(before) - 1, -1, -1):
            depth += {')': 1, '(': -1}.get(before[at], 0)
            if depth < 0:
                callee = re.search(r'(\w+)\s*$', before[:at])
                return bool(callee and callee.group(1)[0].isupper())
        return False

    def uses(self, name):
        return re.search(r'(?<!\w)' + re.escape(name) + r'\b', self.code) is not None


class ValuesRow:
    """A row of oldest-values.tsv: its site (files and folders, each with the functions it names,
    then '>' and the calls), and what its value column audits."""

    def __init__(self, number, fields):
        self.number = number
        self.site, self.value, self.win9x, self.nt, self.when, self.source = fields
        place, _, calls = self.site.partition('>')
        self.places = []  # [(path, [function])]
        for word in re.sub(r'\([^)]*\)', ' ', place).replace(',', ' ').split():
            if '/' in word:
                self.places.append((word, []))
            elif self.places:
                self.places[-1][1].append(word)
            else:
                self.places.append((None, [word]))
        self.calls = re.findall(r'[A-Za-z_]\w*', re.sub(r'\([^)]*\)', ' ', calls))
        value = self.text = ' '.join(self.value.split())
        self.sizes = {f'{s}.{m} = {v}' for s, m, v in ROW_SIZE_MEMBER.findall(value)}
        self.sizes |= {f'sizeof({s})' for s in SIZE_ARGUMENT.findall(ROW_SIZE_MEMBER.sub('', value))}
        self.flags = set(AUDITED_VALUES.findall(value)) - NOT_VALUES
        self.names = set(OBJECT_NAME.findall(value))
        self.words = set(re.findall(r'\w+', value))

    def covers(self, shown):
        return any(path and (shown == path or (path.endswith('/') and shown.startswith(path)))
                   for path, _ in self.places)


def read_values_table(table_path):
    rows, failures = [], []
    with open(table_path, encoding='utf-8') as lines:
        for number, line in enumerate(lines, 1):
            fields = line.rstrip('\n').split('\t')
            if line.startswith('#') or not line.strip() or fields[0] == 'site':
                continue
            if len(fields) != 6 or fields[2] not in WIN9X_VALUES or fields[3] not in NT_VERSIONS + ['none']:
                sys.exit(f'{table_path}:{number}: expected site, value, win9x, nt, when, source')
            row = ValuesRow(number, fields)
            if not row.source.strip():
                sys.exit(f'{table_path}:{number}: {row.value} has no source')
            on_floor = row.win9x in FLOOR_9X and row.nt in FLOOR_NT
            if on_floor != (row.when == '-'):
                failures.append(f'{table_path}:{number}: {row.value}: Windows 9x {row.win9x}, NT {row.nt}, but "when" '
                                f'is "{row.when}"; say when the code passes what the floor lacks, and only then')
            rows.append(row)
    return rows, failures


def check_site(row, root, sources, table_path):
    """Failures unless the row's files and folders exist, name the functions it gives and make
    its calls, and still use every flag, size and name its value column audits."""
    where = f'{table_path}:{row.number}'
    failures, files = [], []
    if '>' not in row.site or not row.calls or not row.places:
        return [f'{where}: site "{row.site}": name the files, functions and calls as FILE FUNCTION... > CALL...']
    for path, functions in row.places:
        if path is None:
            failures.append(f'{where}: {", ".join(functions)}: name the file first')
            continue
        found = [source for shown, source in sources.items() if shown == path or
                 (path.endswith('/') and shown.startswith(path))]
        if not found and (root / path).is_file():
            found = [Source(root / path, path)]
        if not found:
            failures.append(f'{where}: {path} is gone; name the call site as it is now')
            continue
        files += found
        for function in functions:
            if not any(source.uses(function) for source in found):
                failures.append(f'{where}: {path} has no {function}; name the call site as it is now')
    if not files:
        return failures
    shown = ', '.join(sorted({source.shown for source in files}))
    for call in row.calls:
        if not any(source.uses(call) for source in files):
            failures.append(f'{where}: {shown} no longer calls {call}; name the call site as it is now')
    for flag in sorted(row.flags):
        if not any(flag in source.flags for source in files):
            failures.append(f'{where}: {flag}: {shown} no longer uses it; take it out of the row')
    for size in sorted(row.sizes):
        if not any(size in source.sizes for source in files):
            failures.append(f'{where}: {size}: {shown} no longer hands it over; take it out of the row')
    for name in sorted(row.names):
        if not any(name in source.names for source in files):
            failures.append(f'{where}: {name}: {shown} no longer names it; take it out of the row')
    if not row.flags and not row.sizes and not row.names:
        failures.append(f'{where}: "{row.value}" holds no flag, size or object name the check can find')
    return failures


def check_values(source_folders, table_path):
    """Every audited flag, structure size and session object name the code hands the system
    is in the value column of a row whose site names its file; a row newer than the floor
    says when it is passed, one on the floor does not; every row's site is live and still
    uses all its row audits. Sites are paths from the folder that holds the source folders."""
    folders = [pathlib.Path(folder).resolve() for folder in source_folders]
    root = pathlib.Path(os.path.commonpath([folder.parent for folder in folders]))
    sources = {}
    for folder in folders:
        if not folder.is_dir():
            sys.exit(f'no source folder {folder}')
        for path in sorted(p for p in folder.rglob('*') if p.suffix in SOURCE_SUFFIXES):
            shown = path.relative_to(root).as_posix()
            sources[shown] = Source(path, shown)
    rows, failures = read_values_table(table_path)
    for row in rows:
        failures += check_site(row, root, sources, table_path)
    used, handed = set(), 0
    for shown, source in sources.items():
        covering = [row for row in rows if row.covers(shown)]
        words = set().union(*(row.words for row in covering))
        text = '\n'.join(row.text for row in covering)
        names = set().union(*(row.names for row in covering))
        used |= set(source.flags)
        handed += len(source.sizes) + len(source.names)
        missing = [(line, f'{flag} is in no row of {table_path} that names this file; find the oldest Windows '
                          'that accepts it and add it to the row of its call')
                   for flag, line in source.flags.items() if flag not in words]
        missing += [(line, f'{size} is in no row of {table_path} that names this file; find the oldest Windows '
                           'that accepts that size and add it to the row of its call')
                    for size, line in source.sizes.items() if size not in text]
        missing += [(line, f'the object name {name} is in no row of {table_path} that names this file; say '
                           'where its namespace is refused and what the code does there')
                    for name, line in source.names.items() if name not in names]
        failures += [f'{shown}:{line}: {what}' for line, what in sorted(missing)]
    for failure in failures:
        print(failure)
    if failures:
        return 1
    print(f'{len(used)} flags and {handed} structure sizes and object names that '
          f'{", ".join(f.name + "/" for f in folders)} hand the system, in {len(sources)} files: all in the '
          f'{len(rows)} rows of {table_path}, whose sites are live')
    return 0


# Instructions the i486 lacks, as objdump spells them, with the processor that brought each.
NEWER_THAN_486 = [
    (r'cmov\w+|fcmov\w+|f(u)?comip?|rdpmc|ud2a?|nop[wl]', 'Pentium Pro'),  # nopw/nopl: 0f 1f
    (r'cpuid|cmpxchg8b|rdtsc|rdmsr|wrmsr|rsm', 'Pentium'),
    (r'sysenter|sysexit', 'Pentium II'),
    (r'emms', 'MMX'),
    (r'femms|prefetchw?|pavgusb|pf\w+|pi2f[dw]|pmulhrw|pswapd', '3DNow!'),
    (r'prefetch(nta|t[012]|wt1)|[lsm]fence|movnti|clflush\w*|fxsave\w*|fxrstor\w*|[ls][dt]mxcsr|popcnt|lzcnt|tzcnt'
     r'|movbe|fisttp\w*|monitor|mwait|crc32\w*', 'SSE family'),
    (r'syscall|sysret|rdtscp|xsave\w*|xrstor\w*|xgetbv|rdrand|rdseed|adcx|adox|andn|bextr|bls\w+|bzhi|mulx|pdep|pext'
     r'|rorx|sarx|shlx|shrx|v(?!er[rw]$)\w+', 'a later processor'),
]
PREFIXES = {'lock', 'rep', 'repz', 'repnz', 'repe', 'repne', 'data16', 'addr16', 'cs', 'ds', 'es', 'fs', 'gs', 'ss',
            'notrack', 'bnd', 'xacquire', 'xrelease'}


# The floating-point unit's instructions, as objdump spells them (fld, fstpl, fnstcw, fwait...): an i486DX has
# them, a 486SX has no unit to run them. Those newer than the i486 (fcmov, fcomi, fisttp) are named above.
X87 = re.compile(r'f[a-z0-9]+|wait')


def mnemonic_and_operands(instruction):
    words = instruction.split()
    while words and words[0] in PREFIXES:
        words.pop(0)
    return (words[0], ' '.join(words[1:])) if words else (None, '')


def needs_an_fpu(instruction):
    """True for an x87 instruction that the i486 has, but only with its floating-point unit."""
    mnemonic = mnemonic_and_operands(instruction)[0]
    return bool(mnemonic and X87.fullmatch(mnemonic))


def brought_by(instruction):
    """The processor that brought this instruction ("lock cmpxchg8b (%esi)"), or None for the i486's own."""
    mnemonic, operands = mnemonic_and_operands(instruction)
    if not mnemonic:
        return None
    for pattern, processor in NEWER_THAN_486:
        if re.fullmatch(pattern, mnemonic):
            return processor
    if re.search(r'%mm\d', operands):
        return 'MMX'
    if re.search(r'%[xyz]mm\d|%k[0-7]\b', operands):
        return 'SSE family'
    return None


def read_code_sections(path):
    """[(start, end, input section, object, [(address, symbol)])] for every code input section
    (.text*, .init, .fini) of the linker map. The rest of an executable output section
    (constructor lists, exception tables) only looks like instructions."""
    with open(path, encoding='utf-8', errors='replace') as lines:
        text = lines.read()
    sections = []
    current = None
    pending = None  # a section name too long to share its line with its address
    for line in text.split('Linker script and memory map', 1)[-1].splitlines():
        found = re.match(r' (\S+)(?:\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.+))?$', line)
        wrapped = pending and re.match(r'\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$', line)
        if found or wrapped:
            name, start, size, origin = (pending, *wrapped.groups()) if wrapped else found.groups()
            pending = None
            if start is None:
                pending, current = name, None
                continue
            code = re.match(r'\.(text|init|fini)([.$]|$)', name) and int(size, 16)
            current = [int(start, 16), int(start, 16) + int(size, 16), name, origin.strip(), []] if code else None
            if current:
                sections.append(current)
            continue
        pending = None
        symbol = re.match(r'\s+0x([0-9a-f]+)\s+([^\s0].*)$', line)
        if current and symbol and ' = ' not in symbol.group(2):
            current[4].append((int(symbol.group(1), 16), symbol.group(2).strip()))
        elif not symbol:
            current = None
    return sections


def disassemble(tool, exe, start=None, end=None):
    """{address: instruction text} as objdump -d decodes it, from start to end if given."""
    options = ['-d'] + ([f'--start-address={start:#x}', f'--stop-address={end:#x}'] if start is not None else [])
    found = {}
    for line in objdump(tool, exe, *options).splitlines():
        instruction = re.match(r'\s*([0-9a-f]+):\t[0-9a-f ]+\t(.+)$', line)
        if instruction:
            found[int(instruction.group(1), 16)] = instruction.group(2).strip()
    return found


def demangled(tool, names):
    filt = shutil.which(re.sub(r'objdump$', 'c++filt', tool)) or shutil.which('c++filt')
    if not filt or not names:
        return {name: name for name in names}
    # -n: the section names carry no extra leading underscore.
    result = subprocess.run([filt, '-n'], input='\n'.join(names), capture_output=True, text=True)
    return dict(zip(names, result.stdout.splitlines())) if result.returncode == 0 else {n: n for n in names}


def where(section, address):
    """The function an address lies in and its object (an archive's member by name): the
    function from the section's name where the compiler gave each its own (.text$name,
    .text.name), else the map's symbol before it."""
    _, _, name, origin, symbols = section
    member = re.match(r'.*/([^/(]+\.a)\(([^)]+)\)$', origin)
    shown = f'{member.group(1)}({member.group(2)})' if member else origin.rsplit('/', 1)[-1]
    own = re.match(r'\.text[.$](?:(?:unlikely|startup|hot|exit)\.)?(.+)$', name)
    if own and own.group(1) not in ('unlikely', 'startup', 'hot', 'exit'):
        return own.group(1), shown
    before = [symbol for at, symbol in symbols if at <= address]
    return None, (f'{shown}, after {before[-1]}' if before else shown)


def named_instructions(found, names, what):
    """One line per instruction, naming it, its function and its object, then a tally."""
    lines, counts = [], {}
    for address, instruction, kind, section in found:
        function, origin = where(section, address)
        mnemonic = mnemonic_and_operands(instruction)[0]
        counts[mnemonic] = counts.get(mnemonic, 0) + 1
        inside = f'{names[function]} ({origin})' if function else origin
        lines.append(f'{mnemonic} at {address:#x} ({kind}): {instruction}  in {inside}')
    if found:
        tally = ', '.join(f'{m} {n}' for m, n in sorted(counts.items(), key=lambda item: (-item[1], item[0])))
        # The toolchain's archives are named by absolute path, this build's objects relative to it.
        ours = sum(not section[3].startswith('/') for _, _, _, section in found)
        lines.append(f'{len(found)} {what} ({ours} in this build\'s objects, '
                     f'{len(found) - ours} in the toolchain\'s): {tally}')
    return lines


def check_image(tool, exe, map_path):
    failures = []
    header = objdump(tool, exe, '-p')
    for field in ('MajorSubsystemVersion', 'MajorOSystemVersion'):
        value = re.search(field + r'\s+(\d+)', header)
        if not value or value.group(1) != '4':
            failures.append(f'{field} is {value.group(1) if value else "missing"}: Windows 95 and NT4 need 4')
    for field in ('MinorSubsystemVersion', 'MinorOSystemVersion'):
        value = re.search(field + r'\s+(\d+)', header)
        if not value or value.group(1) != '0':
            failures.append(f'{field} is {value.group(1) if value else "missing"}: Windows 95 and NT4 need 0')

    sections = read_code_sections(map_path)
    if not sections:
        sys.exit(f'no code sections read from {map_path}')
    everything = disassemble(tool, exe)
    newer, floating = [], []  # (address, instruction, kind, section)
    for section in sections:
        start, end = section[0], section[1]
        # A linear sweep that ran out of step over the bytes before a section starts it again.
        found = everything if start in everything else disassemble(tool, exe, start, end)
        for address in sorted(a for a in found if start <= a < end):
            processor = brought_by(found[address])
            if processor:
                newer.append((address, found[address], processor, section))
            elif needs_an_fpu(found[address]):
                floating.append((address, found[address], 'x87', section))
    names = demangled(tool, sorted({where(s, a)[0] for a, _, _, s in newer + floating} - {None}))
    failures += named_instructions(newer, names, 'instructions an i486 lacks')
    failures += named_instructions(floating, names, 'x87 instructions, which a 486SX cannot run')
    for failure in failures:
        print(failure)
    if failures:
        return 1
    print(f'PE header asks for Windows 4.0; every instruction of {len(sections)} code sections runs on an i486, '
          'none needs a floating-point unit')
    return 0


def main(arguments):
    if len(arguments) >= 4 and arguments[0] == 'imports':
        tool, exe, table = arguments[1:4]
        rest = arguments[4:]
        map_path = rest[rest.index('--map') + 1] if '--map' in rest else None
        return check_imports(tool, exe, table, map_path, '--floor' in rest)
    if len(arguments) >= 3 and arguments[0] == 'values':
        return check_values(arguments[1:-1], arguments[-1])
    if len(arguments) >= 3 and arguments[0] == 'loaded':
        return check_run_time_loads(arguments[1:-1], arguments[-1])
    if len(arguments) == 5 and arguments[0] == 'image' and arguments[3] == '--map':
        return check_image(arguments[1], arguments[2], arguments[4])
    sys.exit(__doc__)


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
