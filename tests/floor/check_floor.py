#!/usr/bin/python3
"""Checks that an executable can load on the oldest Windows it is meant for.

    check_floor.py imports OBJDUMP EXE TABLE [--map MAP] [--floor]
    check_floor.py image OBJDUMP EXE [--map MAP]

imports: every function EXE imports must be a row of TABLE (oldest-exports.tsv). With
--floor, each must also be exported, working, by Windows 95 and by NT 4.0; MAP (the
linker's map) names the object that pulled each failing import in.
image: the PE header asks for Windows 4.0, and the code uses no instruction set newer
than the Pentium Pro's (no MMX, no SSE). MAP tells code from the tables GCC keeps in the
same section, which only look like instructions.
Prints one line per failure and exits 1, or prints a summary and exits 0.
"""
import re
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


def read_code_ranges(path):
    """[(start, end)] of every .text input section the linker map lists."""
    with open(path, encoding='utf-8', errors='replace') as lines:
        text = lines.read()
    return [(int(start, 16), int(start, 16) + int(size, 16))
            for start, size in re.findall(r'\n \.text\S*\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)', text)]


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
    # MMX and SSE instructions name their registers; the Pentium Pro has neither.
    code = read_code_ranges(map_path) if map_path else None
    newer = []
    for line in objdump(tool, exe, '-d').splitlines():
        instruction = re.match(r'\s*([0-9a-f]+):', line)
        if not instruction or not re.search(r'%(x|y|z)?mm\d', line):
            continue
        address = int(instruction.group(1), 16)
        if code is None or any(start <= address < end for start, end in code):
            newer.append(line.strip())
    for line in newer[:10]:
        failures.append(f'an instruction newer than the Pentium Pro: {line}')
    for failure in failures:
        print(failure)
    if failures:
        return 1
    print('PE header asks for Windows 4.0; no MMX or SSE instructions')
    return 0


def main(arguments):
    if len(arguments) >= 4 and arguments[0] == 'imports':
        tool, exe, table = arguments[1:4]
        rest = arguments[4:]
        map_path = rest[rest.index('--map') + 1] if '--map' in rest else None
        return check_imports(tool, exe, table, map_path, '--floor' in rest)
    if len(arguments) in (3, 5) and arguments[0] == 'image':
        map_path = arguments[4] if len(arguments) == 5 and arguments[3] == '--map' else None
        return check_image(arguments[1], arguments[2], map_path)
    sys.exit(__doc__)


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
