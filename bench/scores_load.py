#!/usr/bin/env python3
"""Load on korvex-scores over loopback, beside the bare `korvex --verify` of the same recordings on the
same cores. Prints: verifications a second, bare and through the API (with latency p50 and p99), table
reads a second and their p99 at 10,000 entries with 50 readers while submissions are verified, and the
server's own peak memory (its workers apart).
   bench/scores_load.py [BUILD_DIR]   (default build/)"""
import concurrent.futures, http.client, os, random, sqlite3, subprocess, sys, tempfile, threading, time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, 'tests/server'))
from scoreslib import GOLDEN, Server, variants  # noqa: E402

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'build'))
cores = os.cpu_count()
# Games of every length the golden ones have, each as several distinct files (no duplicates).
games = [v for name in ('hard-careless', 'hard', 'medium') for v in variants(GOLDEN[name], 16)]


def percentile(values, share):
    values = sorted(values)
    return values[min(len(values) - 1, int(share * len(values)))]


def bare(files):
    def verify(path):
        subprocess.run([f'{build}/korvex', '--verify', path], check=True, stdout=subprocess.DEVNULL,
                       env={**os.environ, 'SDL_AUDIODRIVER': 'dummy'})
    start = time.monotonic()
    with concurrent.futures.ThreadPoolExecutor(cores) as pool:
        list(pool.map(verify, files))
    return len(files) / (time.monotonic() - start)


def submissions(server, recordings, clients):
    latencies = []
    def send(i):
        began = time.monotonic()
        status = server.submit(recordings[i], f'B{i}')[0]
        assert status == 201, status
        latencies.append(time.monotonic() - began)
    start = time.monotonic()
    with concurrent.futures.ThreadPoolExecutor(clients) as pool:
        list(pool.map(send, range(len(recordings))))
    return len(recordings) / (time.monotonic() - start), latencies


def peak_memory_kib(pid):
    for line in open(f'/proc/{pid}/status'):
        if line.startswith('VmHWM:'):
            return int(line.split()[1])


def fill(data, count):
    db = sqlite3.connect(f'{data}/scores.sqlite')
    rows = [(f'{i:064x}', i % 3, random.randrange(5000), 1 + i % 25, 0, 200 + random.randrange(30000), f'N{i}',
             'score', 1700000000 + i) for i in range(count)]
    db.executemany('INSERT INTO entries (sha256, difficulty, score, level, lives, frames, name, line, submitted)'
                   ' VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)', rows)
    db.execute('INSERT INTO recordings SELECT id, x\'00\' FROM entries WHERE id NOT IN (SELECT id FROM recordings)')
    db.commit()
    db.close()


with tempfile.TemporaryDirectory() as scratch:
    for i, g in enumerate(games):
        open(f'{scratch}/{i}.kvr', 'wb').write(g)
    bare_rate = bare([f'{scratch}/{i}.kvr' for i in range(len(games))])

    data = f'{scratch}/data'
    os.mkdir(data)
    server = Server(f'{build}/korvex-scores', '--data', data, '--rate', '10000', '--queue', '1000')
    try:
        rate, latencies = submissions(server, games, 2 * cores)
        print(f'verifications/s: bare korvex --verify {bare_rate:.1f}, through the API {rate:.1f} '
              f'({rate / bare_rate:.2f} of bare) at {cores} workers; submission latency '
              f'p50 {percentile(latencies, 0.5) * 1000:.0f} ms, p99 {percentile(latencies, 0.99) * 1000:.0f} ms')
    finally:
        server.stop()

    fill(data, 10000 - len(games))
    server = Server(f'{build}/korvex-scores', '--data', data, '--rate', '10000', '--queue', '1000')
    try:
        # Long games, so that verification goes on while the readers read.
        more = variants(GOLDEN['easy-long-wrap'], 20)
        def cpu_seconds():
            fields = open(f'/proc/{server.proc.pid}/stat').read().rsplit(')', 1)[1].split()
            return (int(fields[11]) + int(fields[12])) / os.sysconf('SC_CLK_TCK')
        before, started = cpu_seconds(), time.monotonic()
        out = subprocess.run([f'{build}/server/korvex-scores-reader', str(server.port), '50', '8'],
                             check=True, capture_output=True, text=True).stdout.split()
        print(f'table reads alone: {int(out[0]) / (time.monotonic() - started):.0f}/s, p50 {float(out[1]):.1f} ms, '
              f'p99 {float(out[2]):.1f} ms, {(cpu_seconds() - before) / int(out[0]) * 1000:.2f} ms of server time a read')
        busy = threading.Thread(target=submissions, args=(server, more, 2 * cores))
        busy.start()
        started = time.monotonic()
        seconds = 15
        out = subprocess.run([f'{build}/server/korvex-scores-reader', str(server.port), '50', str(seconds)],
                             check=True, capture_output=True, text=True).stdout.split()
        elapsed = time.monotonic() - started
        verifying = busy.is_alive()
        busy.join()
        print(f'table reads at 10,000 entries, 50 readers (3 in 4 the first page), submissions verified '
              f'{"throughout" if verifying else "for part of the time"}: {int(out[0]) / elapsed:.0f}/s, '
              f'p50 {float(out[1]):.1f} ms, p99 {float(out[2]):.1f} ms')
        print(f'server peak resident memory (without its workers): {peak_memory_kib(server.proc.pid) / 1024:.1f} MiB')
    finally:
        server.stop()
