"""korvex --submit (or korvex.exe under Wine) against a real korvex-scores on loopback: entered,
   already there, refused, no server.   submit_test.py KORVEX_SCORES KORVEX [wine]"""
import os, subprocess, sys, tempfile
from scoreslib import GOLDEN, SOURCE, Server, free_port

program, korvex, runner = sys.argv[1], sys.argv[2], sys.argv[3:]
medium_line = open(f'{SOURCE}/tests/replays/medium.expected').read().split()


def submit(name, server, replay):
    done = subprocess.run([*runner, korvex, '--submit', f'{SOURCE}/tests/replays/{replay}.kvr', '--name', name,
                           '--server', server], capture_output=True, text=True, timeout=180)
    return done.returncode, done.stdout.strip(), done.stderr.strip()


with tempfile.TemporaryDirectory() as scratch:
    server = Server(program, '--data', scratch, '--workers', '1')
    url = f'http://127.0.0.1:{server.port}/'
    try:
        CASES = [
            ('Ace', url, 'medium', 0, f'Entered at #1 on Medium: score {medium_line[1]}', ''),
            ('Ace two', url, 'medium', 0, 'Already in the table (#1)', ''),
            ('Quit', url, 'menu-resume-quit', 1, 'Refused: ', ''),
            ('Ace', f'http://127.0.0.1:{free_port()}', 'medium', 2, '', 'korvex: no score service reached at'),
            ('caf\u00e9', url, 'medium', 2, '', 'korvex: --name must be'),
        ]
        for name, where, replay, status, out, err in CASES:
            got = submit(name, where, replay)
            assert got[0] == status and got[1].startswith(out) and got[2].startswith(err), (name, replay, got)
            assert (out == '') == (got[1] == '') and '\n' not in got[1] + got[2], got
        _, table = server.get_json('/api/v1/scores?difficulty=medium')
        assert [(e['name'], e['score']) for e in table['entries']] == [('Ace', int(medium_line[1]))], table
    finally:
        server.stop()
print('submit: every answer as expected')
