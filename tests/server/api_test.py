"""The API against a real korvex-scores on loopback with SQLite in a scratch folder.
   api_test.py KORVEX_SCORES"""
import concurrent.futures, glob, subprocess, sys, tempfile, time
from scoreslib import GOLDEN, SOURCE, Server, variants

program = sys.argv[1]


def patched(recording, at, value):
    b = bytearray(recording)
    b[at:at + 4] = value.to_bytes(4, 'little')
    return bytes(b)


medium = GOLDEN['medium']
# Recording, name, expected status, and a part of the refusal's reason.
CASES = [
    (medium, 'Ace', 201, None),
    (medium, 'Other', 200, None),  # the same recording: the same entry
    (GOLDEN['hard'], 'Zed ~!?', 201, None),
    (GOLDEN['hard-careless'], '<b>&"x\'</b', 201, None),
    (GOLDEN['easy-long-wrap'], 'Wrap', 201, None),
    (GOLDEN['menu-resume-quit'], 'Quitter', 422, 'left before its end'),
    (patched(medium, len(medium) - 20, 999), 'Claims', 422, 'does not replay as recorded'),  # the trailer's score
    (patched(medium, 4, 2)[:8] + medium[8:], 'Later', 422, 'format 2'),
    (medium[:100], 'Short', 422, None),
    (b'', 'Empty', 400, None),
    (medium, '', 400, 'name'),
    (medium, 'ElevenChars', 400, 'name'),
    (medium, 'tab\there', 400, 'name'),
    (medium, 'caf\u00e9', 400, 'name'),
    (b'K' * (1024 * 1024 + 1), 'Big', 413, '1 MiB'),
]

with tempfile.TemporaryDirectory() as scratch:
    server = Server(program, '--data', scratch, '--workers', '2', '--rate', '1000')
    try:
        ids = {}
        for recording, name, status, reason in CASES:
            got, _, body = server.submit(recording, name)
            assert got == status, (name, got, body)
            if reason:
                assert reason in body['error'], (name, body)
            if status in (200, 201):
                ids.setdefault(recording, body['id'])
                assert body['id'] == ids[recording] and body['name'] == (name if status == 201 else 'Ace')
                assert body['line'] == open(f"{SOURCE}/tests/replays/{[k for k, v in GOLDEN.items() if v == recording][0]}.expected").read().strip()
        # Every file of the replay fuzz corpus, as it is and without the fuzzer's leading mode byte.
        for path in glob.glob(SOURCE + '/tests/fuzz/corpus/replay*/*'):
            data = open(path, 'rb').read()
            for variant in (data, data[1:]):
                got, _, body = server.submit(variant, 'Fuzz')
                assert got in (201, 200, 422, 400), (path, got, body)

        status, hard = server.get_json('/api/v1/scores?difficulty=hard&limit=1')
        assert status == 200 and hard['total'] == 2 and [e['score'] for e in hard['entries']] == [218]
        assert server.get_json('/api/v1/scores?difficulty=hard&offset=1')[1]['entries'][0]['rank'] == 2
        for bad in ('difficulty=extreme', 'difficulty=easy&limit=0', 'difficulty=easy&limit=101', 'difficulty=easy&offset=-1'):
            assert server.request('GET', '/api/v1/scores?' + bad)[0] == 400, bad
        entry = ids[medium]
        assert server.get_json(f'/api/v1/games/{entry}')[1]['score'] == 253
        assert server.request('GET', f'/api/v1/games/{entry}/recording')[2] == medium
        assert server.request('GET', '/api/v1/games/999')[0] == 404
        page = server.request('GET', '/scores')[2].decode()
        assert '&lt;b&gt;&amp;&quot;x&#39;&lt;/b' in page and '<b>&' not in page
        assert 'korvex_submissions_total{outcome="entered"} 4' in server.request('GET', '/metrics')[2].decode()

        # Moderation and checking work on the same store, offline too.
        def cli(*args):
            return subprocess.run([program, *args, '--data', scratch], capture_output=True, text=True)
        assert cli('hide', str(entry)).returncode == 0
        time.sleep(1.1)  # table pages are kept for a second: another process's change shows after it
        assert server.request('GET', f'/api/v1/games/{entry}')[0] == 404
        assert server.get_json('/api/v1/scores?difficulty=medium')[1]['total'] == 0
        assert cli('unhide', str(entry)).returncode == 0 and cli('hide', '999').returncode == 1
        time.sleep(1.1)
        assert server.get_json('/api/v1/scores?difficulty=medium')[1]['total'] == 1
        checked = cli('check')
        assert checked.returncode == 0 and '4 recordings checked, 0 differ' in checked.stdout, checked.stdout
    finally:
        server.stop()

    # A client past its rate, and a full queue; behind a trusted proxy each forwarded client has its own rate.
    server = Server(program, '--data', scratch, '--workers', '1', '--queue', '1', '--rate', '4',
                    '--trusted-proxy', '127.0.0.1')
    try:
        slow = GOLDEN['easy-long-wrap'][:-20] + bytes(20)  # plays to its end, then mismatches
        with concurrent.futures.ThreadPoolExecutor(4) as pool:
            answers = list(pool.map(lambda i: server.submit(slow, 'Q', {'X-Forwarded-For': f'10.0.0.{i}'})[:2], range(4)))
        full = [head for status, head in answers if status == 503]
        assert len(full) >= 2 and all(h['Retry-After'] for h in full), answers
        statuses = [server.submit(b'x', 'R', {'X-Forwarded-For': '6.6.6.6, 10.9.9.9'})[0] for _ in range(5)]
        assert statuses == [422] * 4 + [429], statuses
        status, head, _ = server.submit(b'x', 'R', {'X-Forwarded-For': '10.9.9.9'})
        assert status == 429 and int(head['Retry-After']) > 0
        assert server.submit(b'x', 'R', {'X-Forwarded-For': '10.9.9.8'})[0] == 422
    finally:
        server.stop()

    # A recording past the limits (here: no time at all) costs its worker, which starts again for the next.
    server = Server(program, '--data', scratch, '--workers', '1', '--limit-seconds', '0')
    try:
        for name in ('hard-careless', 'medium'):
            got, _, body = server.submit(variants(GOLDEN[name], 1)[0], 'Late')
            assert got == 422 and 'limits' in body['error'], body
        assert 'korvex_worker_restarts_total 2' in server.request('GET', '/metrics')[2].decode()
    finally:
        server.stop()

    # The command line: help, version, and exit status 2 with one line of error.
    for args, code in ((['--help'], 0), (['--version'], 0), ([], 2), (['serve', '--workers', 'x'], 2),
                       (['hide'], 2), (['frobnicate'], 2), (['check', '--site', '.'], 2)):
        run = subprocess.run([program, *args], capture_output=True, text=True)
        assert run.returncode == code, (args, run.returncode, run.stderr)
        assert code == 0 or run.stderr.startswith('korvex-scores: '), run.stderr
print('api test: all cases passed')
