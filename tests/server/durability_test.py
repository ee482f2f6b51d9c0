"""SIGKILL during concurrent submissions: after a restart every answered 201 is in the table, and
   nothing is there that was not sent whole.   durability_test.py KORVEX_SCORES"""
import concurrent.futures, sqlite3, sys, tempfile, threading, time
from scoreslib import GOLDEN, Server, all_entries, variants

program = sys.argv[1]
games = variants(GOLDEN['hard-careless'], 40) + variants(GOLDEN['medium'], 40)
with tempfile.TemporaryDirectory() as scratch:
    server = Server(program, '--data', scratch, '--workers', '2', '--rate', '10000')
    answered, lock = {}, threading.Lock()

    def send(i):
        try:
            status, _, body = server.submit(games[i], f'P{i}')
        except OSError:
            return  # the server went while this one waited
        if status == 201:
            with lock:
                answered[body['id']] = i

    with concurrent.futures.ThreadPoolExecutor(8) as pool:
        for i in range(len(games)):
            pool.submit(send, i)
        while len(answered) < len(games) // 3:
            time.sleep(0.01)
        server.stop(9)
    assert 0 < len(answered) < len(games), len(answered)

    db = sqlite3.connect(f'{scratch}/scores.sqlite')
    assert db.execute('PRAGMA integrity_check').fetchone()[0] == 'ok'
    db.close()
    server = Server(program, '--data', scratch, '--workers', '2', '--rate', '10000')
    try:
        stored = {e['id']: e for d in ('easy', 'medium', 'hard') for e in all_entries(server, d)}
        for entry, i in answered.items():
            assert stored[entry]['name'] == f'P{i}', (entry, stored.get(entry))
        for entry, e in stored.items():
            i = int(e['name'][1:])
            assert server.request('GET', f'/api/v1/games/{entry}/recording')[2] == games[i], entry
        # What was never answered goes in now: once, whether or not it had been committed.
        for i in set(range(len(games))) - set(answered.values()):
            assert server.submit(games[i], f'P{i}')[0] in (200, 201)
        assert sum(len(all_entries(server, d)) for d in ('medium', 'hard')) == len(games)
    finally:
        server.stop()
print(f'durability test: {len(answered)} answered before the kill, all kept')
