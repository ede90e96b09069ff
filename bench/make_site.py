"""Writes the benchmark pages: a 64 MiB entry fetched by a page, a page of 200 scripts and images, and
the same page once more for the resident memory."""
import os
import pathlib
import struct
import sys
import zlib

site = pathlib.Path(sys.argv[1])
(site / "s").mkdir(parents=True)
(site / "i").mkdir()

REPORT = """
const report = (m) => window.chrome && window.chrome.webview ? window.chrome.webview.postMessage(m)
                                                            : window.webkit.messageHandlers.bench.postMessage(JSON.stringify(m));
"""

(site / "big.bin").write_bytes(os.urandom(64 << 20))
(site / "fetch.html").write_text(f"""<!doctype html><script>{REPORT}
(async () => {{
  const runs = [];
  for (let i = 0; i < 3; i++) {{
    const start = performance.now();
    const bytes = await (await fetch('big.bin?run=' + i)).arrayBuffer();
    runs.push([performance.now() - start, bytes.byteLength]);
  }}
  report({{bench: 'fetch', runs}});
  report({{host: 'quit'}});
}})();
</script>""")


def png(seed):
    raw = b"".join(b"\x00" + bytes((seed * 7 + x * 13 + y) % 256 for x in range(48)) for y in range(16))
    chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 16, 16, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


for n in range(200):
    (site / "s" / f"{n}.js").write_text(f"window.loaded = (window.loaded || 0) + 1; // script {n} " + "x" * 400)
    (site / "i" / f"{n}.png").write_bytes(png(n))

# Three loads in a row, each with fresh addresses so nothing comes from a cache.
(site / "many.html").write_text(f"""<!doctype html><html><head><script>{REPORT}
const run = Number(new URLSearchParams(location.search).get('run') || 0);
for (let n = 0; n < 200; n++) document.write('<script src="s/' + n + '.js?run=' + run + '"><\\/script>');
</script></head><body><script>
for (let n = 0; n < 200; n++) document.write('<img src="i/' + n + '.png?run=' + run + '">');
addEventListener('load', () => {{
  const times = JSON.parse(sessionStorage.times || '[]');
  times.push([performance.now(), window.loaded, document.images.length]);
  sessionStorage.times = JSON.stringify(times);
  if (run < 2) {{ location.href = 'many.html?run=' + (run + 1); return; }}
  report({{bench: 'many', runs: times}});
  report({{host: 'quit'}});
}});
</script></body></html>""")

# One load that says when it is complete, then stays up a few seconds while the bench reads the
# processes' resident memory.
(site / "memory.html").write_text(f"""<!doctype html><html><head><script>{REPORT}
for (let n = 0; n < 200; n++) document.write('<script src="s/' + n + '.js"><\\/script>');
</script></head><body><script>
for (let n = 0; n < 200; n++) document.write('<img src="i/' + n + '.png">');
addEventListener('load', () => {{
  report({{bench: 'memory', loaded: window.loaded, images: document.images.length}});
  setTimeout(() => report({{host: 'quit'}}), 4000);
}});
</script></body></html>""")
