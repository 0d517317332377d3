#!/usr/bin/env python3
"""Turns the figures of scripts/benchmarks.sh ("key value" lines) into one
table - figure, goal, measured, the bare program's figure where it is the
baseline, met or not - printed, and written as JSON.

Usage: report.py FIGURES_FILE JSON_FILE [--short]
"""
import json
import sys


def main():
    figures_path, json_path = sys.argv[1], sys.argv[2]
    short = '--short' in sys.argv[3:]
    figures = {}
    with open(figures_path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 2:
                figures[parts[0]] = parts[1]

    def number(key):
        try:
            return float(figures[key])
        except (KeyError, ValueError):
            return None

    rows = []

    def row(figure, goal, measured, unit, met, bare=None, digits=1, has_bare=False):
        def fmt(value):
            if value is None:
                return 'not measured'
            if isinstance(value, str):
                return value
            return f'{value:,.{digits}f} {unit}'.strip()
        rows.append({
            'figure': figure,
            'goal': goal,
            'measured': fmt(measured),
            'bare program': fmt(bare) if has_bare else '',
            'result': 'not measured' if measured is None else ('met' if met else 'not met'),
            'value': measured if not isinstance(measured, str) else None,
            'bare_value': bare,
            'unit': unit,
        })

    size = number('exe_bytes')
    row('Lumitrax.exe size (static, stripped)', '<= 400 KB', size and size / 1024, 'KB',
        size is not None and size <= 400 * 1024, None, 0)
    english_only = number('exe_bytes_english_only')
    languages = number('translations')
    if size is not None and english_only is not None:
        row('Lumitrax.exe without its translations', '(for comparison)', english_only / 1024, 'KB', True, None, 0)
        if languages:
            per_language = (size - english_only) / languages
            row('each added language (exe growth / %d)' % languages, '<= 5 KB', per_language / 1024, 'KB',
                per_language <= 5 * 1024, None, 1)
    bare_wake = number('bare_wakeups_per_s')
    for key, figure in (('idle_wakeups_per_s', 'idle wake-ups, settings window hidden'),
                        ('hidden_under_pointer_wakeups_per_s',
                         'idle wake-ups, window hidden under a resting pointer')):
        value = number(key)
        met = value is not None and bare_wake is not None and value <= bare_wake + 1
        row(figure, '<= bare + 1 /s', value, '/s', met, bare_wake, 2, True)
    guard = number('guard_only_wakeups_per_s')
    if guard is not None:
        rows.append({'figure': 'for reference: bare program with only a 1300 ms timer reading the keys',
                     'goal': '-', 'measured': f'{guard:.2f} /s',
                     'bare program': f'{bare_wake:.2f} /s' if bare_wake is not None else '',
                     'result': '-', 'value': guard, 'bare_value': bare_wake, 'unit': '/s'})
    anon, bare_anon = number('anon_kb'), number('bare_anon_kb')
    row('anonymous resident memory after start-up', '<= bare + 2 MB', anon and anon / 1024, 'MB',
        anon is not None and bare_anon is not None and anon <= bare_anon + 2048,
        bare_anon and bare_anon / 1024, 1, True)
    median, p95 = number('latency_median_ms'), number('latency_p95_ms')
    row('Caps Lock press -> display shown or hidden, median', '<= 12 ms', median, 'ms',
        median is not None and median <= 12)
    row('Caps Lock press -> display shown or hidden, p95', '<= 20 ms', p95, 'ms',
        p95 is not None and p95 <= 20)
    idle_key, idle_worst = number('key_idle_median_ms'), number('key_idle_worst_ms')
    hang_key, hang_worst = number('key_hang_median_ms'), number('key_hang_worst_ms')
    for value, figure in ((idle_key, 'median'), (idle_worst, 'worst')):
        rows.append({'figure': f'ordinary key -> another program\'s window, Lumitrax idle, {figure}',
                     'goal': '-', 'measured': 'not measured' if value is None else f'{value:.2f} ms',
                     'bare program': '', 'result': '-', 'value': value, 'bare_value': None, 'unit': 'ms'})
    within = figures.get('key_hang_within_ping') == '1'
    for value, base, figure in ((hang_key, idle_key, 'median'), (hang_worst, idle_worst, 'worst')):
        measured = value if within or value is None else f'{value:.2f} ms (the ping ended early)'
        row(f'ordinary key -> another program\'s window while a ping hangs, {figure}', '<= idle + 2 ms', measured,
            'ms', within and value is not None and base is not None and value <= base + 2, None, 2)
    for key, figure in (('objects_lock_changes', 'GDI/USER objects over {} lock changes'),
                        ('objects_show_hides', 'GDI/USER objects over {} settings show/hide'),
                        ('objects_compositions', 'GDI/USER objects over {} tray icon compositions')):
        state = figures.get(key)
        count = figures.get(key + '_count', '?')
        row(figure.format(count), 'flat (+-2)', state, '', state == 'flat')
    compose = number('compose_us_per_set')
    row('tray icon composition (native core), per set of three', '<= 20 us', compose, 'us',
        compose is not None and compose <= 20, None, 2)

    headers = ('figure', 'goal', 'measured', 'bare program', 'result')
    widths = [max(len(h), *(len(str(r[h])) for r in rows)) for h in headers]
    line = '| ' + ' | '.join(h.ljust(w) for h, w in zip(headers, widths)) + ' |'
    print(line)
    print('|' + '|'.join('-' * (w + 2) for w in widths) + '|')
    for r in rows:
        print('| ' + ' | '.join(str(r[h]).ljust(w) for h, w in zip(headers, widths)) + ' |')
    if short:
        print('(short run: the figures only show the script works)')
    with open(json_path, 'w') as f:
        json.dump({'short': short, 'figures': figures, 'table': rows}, f, indent=2)
        f.write('\n')


if __name__ == '__main__':
    main()
