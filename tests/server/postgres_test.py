"""Two servers on one private PostgreSQL cluster (initdb and pg_ctl as an unprivileged user, on a Unix
   socket in a scratch folder): the same recordings sent to both at once make one entry each, and the
   database stopped under load gives 503, then recovers with nothing lost.   postgres_test.py KORVEX_SCORES"""
import concurrent.futures, glob, os, pwd, shutil, subprocess, sys, tempfile
from scoreslib import GOLDEN, Server, all_entries, free_port, variants

program = sys.argv[1]
bin_dir = sorted(glob.glob('/usr/lib/postgresql/*/bin'))[-1]
user = 'nobody' if os.getuid() == 0 else pwd.getpwuid(os.getuid()).pw_name  # the cluster refuses root


def as_user(*cmd):
    prefix = ['runuser', '-u', user, '--'] if os.getuid() == 0 else []
    subprocess.run(prefix + [f'{bin_dir}/{cmd[0]}', *cmd[1:]], check=True, stdout=subprocess.DEVNULL)


scratch = tempfile.mkdtemp()
os.chmod(scratch, 0o755)
db_dir, sock = f'{scratch}/db', f'{scratch}/sock'
for folder in (db_dir, sock):
    os.mkdir(folder, 0o700)
    shutil.chown(folder, user)
port = free_port()
pg_start = ['pg_ctl', '-D', db_dir, '-l', f'{scratch}/sock/log', '-w', '-o',
            f"-k {sock} -p {port} -c listen_addresses='' -c fsync=on", 'start']
servers = []
try:
    as_user('initdb', '-D', db_dir, '-U', user, '--auth=trust', '-E', 'UTF8')
    as_user(*pg_start)
    url = f'postgresql:///postgres?host={sock}&port={port}&user={user}'
    for _ in range(2):
        servers.append(Server(program, '--database', url, '--workers', '2', '--rate', '10000'))
    games = variants(GOLDEN['hard-careless'], 12) + [GOLDEN['medium'], GOLDEN['hard']]
    with concurrent.futures.ThreadPoolExecutor(8) as pool:
        answers = list(pool.map(lambda job: job[1].submit(games[job[0]], f'G{job[0]}')[::2],
                                [(i, s) for i in range(len(games)) for s in servers]))
    for i in range(len(games)):
        a, b = answers[2 * i], answers[2 * i + 1]
        assert sorted([a[0], b[0]]) == [200, 201] and a[1]['id'] == b[1]['id'], (a, b)
    tables = [[(e['id'], e['rank']) for e in all_entries(s, 'hard')] for s in servers]
    assert tables[0] == tables[1] and len(tables[0]) == len(games) - 1

    # The database goes away under load, and comes back.
    more = variants(GOLDEN['medium'], 30)[:24]
    entered = {}
    with concurrent.futures.ThreadPoolExecutor(6) as pool:
        futures = [pool.submit(servers[i % 2].submit, g, f'M{i}') for i, g in enumerate(more)]
        as_user('pg_ctl', '-D', db_dir, '-m', 'fast', '-w', 'stop')
        statuses = [f.result()[0] for f in futures]
    for i, f in enumerate(futures):
        if f.result()[0] == 201:
            entered[f.result()[2]['id']] = i
    assert set(statuses) <= {201, 503} and 503 in statuses, statuses
    assert servers[0].request('GET', '/healthz')[0] == 503
    assert servers[1].submit(more[0], 'Down')[0] == 503
    as_user(*pg_start)
    assert servers[0].request('GET', '/healthz')[0] == 200
    for i, g in enumerate(more):
        assert servers[i % 2].submit(g, f'M{i}')[0] in (200, 201)
    stored = {e['id']: e['name'] for e in all_entries(servers[1], 'medium')}
    assert len(stored) == len(more) + 1 and all(stored[id] == f'M{i}' for id, i in entered.items()), stored
finally:
    for s in servers:
        s.stop()
    if os.path.exists(f'{db_dir}/postmaster.pid'):
        as_user('pg_ctl', '-D', db_dir, '-m', 'immediate', '-w', 'stop')
    shutil.rmtree(scratch)
print('postgres test: one entry per recording across two servers; the database came back with nothing lost')
