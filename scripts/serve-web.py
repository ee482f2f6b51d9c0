#!/usr/bin/env python3
"""Serves the browser build's site on 127.0.0.1 as it should be served anywhere: gzip-compressed for a
browser that takes it, and with the strict Content-Security-Policy the page is made to run under (the
README gives both for other servers)."""
import functools
import gzip
import http.server
import os
import sys

# The page's own files only: no inline script or style, no other site, no frames, no forms.
POLICY = ("default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; "
          "connect-src 'self'; manifest-src 'self'; worker-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'")
TYPES = {".wasm": "application/wasm", ".js": "text/javascript", ".data": "application/octet-stream",
         ".kvr": "application/octet-stream",
         ".webmanifest": "application/manifest+json"}


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}
    compressed = {}  # path -> (mtime, gzip bytes): each file compressed once

    def end_headers(self):
        self.send_header("Content-Security-Policy", POLICY)
        self.send_header("X-Content-Type-Options", "nosniff")
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def do_GET(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, "index.html")
        if "gzip" not in self.headers.get("Accept-Encoding", "") or not os.path.isfile(path):
            return super().do_GET()
        mtime = os.stat(path).st_mtime
        cached = self.compressed.get(path)
        if not cached or cached[0] != mtime:
            with open(path, "rb") as file:
                cached = self.compressed[path] = (mtime, gzip.compress(file.read(), 9))
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Vary", "Accept-Encoding")
        self.send_header("Content-Length", str(len(cached[1])))
        self.end_headers()
        self.wfile.write(cached[1])


def main():
    site, port = sys.argv[1], int(sys.argv[2])
    handler = functools.partial(SiteHandler, directory=site)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"serve-web: http://127.0.0.1:{server.server_address[1]}/", flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()
