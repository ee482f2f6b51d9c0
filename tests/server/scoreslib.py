"""Running korvex-scores for the tests: a server on a free loopback port, sending games to it."""
import glob, http.client, json, os, socket, subprocess, time, urllib.parse

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GOLDEN = {os.path.basename(p)[:-4]: open(p, 'rb').read() for p in glob.glob(SOURCE + '/tests/replays/*.kvr')}


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class Server:
    def __init__(self, program, *args):
        self.port = free_port()
        self.proc = subprocess.Popen([program, 'serve', '--listen', f'127.0.0.1:{self.port}', *args],
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        line = self.proc.stdout.readline()
        if not line.startswith(b'korvex-scores: serving'):
            self.proc.kill()
            self.proc.wait()
            raise AssertionError(line)

    def request(self, method, path, body=None, headers=None, timeout=120):
        conn = http.client.HTTPConnection('127.0.0.1', self.port, timeout=timeout)
        try:
            conn.request(method, path, body, headers or {})
            r = conn.getresponse()
            data = r.read()
            return r.status, dict(r.getheaders()), data
        finally:
            conn.close()

    def submit(self, recording, name='Ace', headers=None):
        status, head, data = self.request('POST', '/api/v1/games?name=' + urllib.parse.quote(name, safe=''),
                                          recording, {'Content-Type': 'application/octet-stream', **(headers or {})})
        return status, head, json.loads(data) if head.get('Content-Type') == 'application/json' else data

    def get_json(self, path):
        status, _, data = self.request('GET', path)
        return status, json.loads(data)

    def stop(self, sig=15):
        self.proc.send_signal(sig)
        self.proc.wait(timeout=30)
        self.proc.stdout.close()


def variants(recording, count):
    """Distinct files of one recorded game: its stream packed again by zlib with other settings."""
    import zlib
    size = int.from_bytes(recording[12:16], 'little')
    stream = zlib.decompress(recording[16:16 + size])
    seen = {recording}
    for level in range(1, 10):
        for mem in range(1, 10):
            for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FILTERED):
                z = zlib.compressobj(level, zlib.DEFLATED, 15, mem, strategy)
                packed = z.compress(stream) + z.flush()
                seen.add(recording[:12] + len(packed).to_bytes(4, 'little') + packed + recording[16 + size:])
                if len(seen) > count:
                    return sorted(seen - {recording})
    return sorted(seen - {recording})


def all_entries(server, difficulty):
    entries, offset = [], 0
    while True:
        _, page = server.get_json(f'/api/v1/scores?difficulty={difficulty}&limit=100&offset={offset}')
        entries += page['entries']
        offset += 100
        if offset >= page['total']:
            return entries
