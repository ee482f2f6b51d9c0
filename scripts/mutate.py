#!/usr/bin/env python3
# The work of scripts/mutate.sh, which says what it does and how to call it.
import argparse, collections, os, random, re, signal, shutil, subprocess, sys, time

parser = argparse.ArgumentParser(prog="mutate.sh")
parser.add_argument("--seed", type=int, default=1)
parser.add_argument("--sample", type=int, default=40)
parser.add_argument("--rev", default="HEAD")
parser.add_argument("--tests", default=None)
parser.add_argument("--timeout", type=int, default=60)
args = parser.parse_args()

root = os.getcwd()
work = os.environ.get("MUTATE_DIR", os.path.join(root, "build-mutate"))
tree = os.path.join(work, "tree")
build = os.path.join(work, "build")
first_suite = {"game": "game", "ui": "ui", "persist": "persist", "resources": "resources", "shell": "shell",
               "platform": "platform", "replay": "replay"}
skipped = {"src/platform/linux/linux.cpp", "src/shell/main.cpp", "src/platform/script/script.cpp",
           "src/platform/web/web.cpp", "src/platform/web/web_events.cpp"}  # the browser tests' own
# windows/: cross-built only, the Windows stage under Wine tests it; desktop/: SDL itself, as the real
# programs use it, which the tests (on the scripted platform) do not link.
skipped_folders = ("src/platform/windows/", "src/platform/desktop/")


def run(cmd, **kw):
    return subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw)


# A fresh copy of the tree at the revision asked for.
args.rev = subprocess.run(["git", "rev-parse", args.rev], check=True, capture_output=True, text=True).stdout.strip()
if args.tests:
    args.tests = subprocess.run(["git", "rev-parse", args.tests], check=True, capture_output=True,
                                text=True).stdout.strip()
# A copy kept from an earlier run is only brought to the revision: files that stay the same keep their
# times, so the build starts where it left off.
os.makedirs(work, exist_ok=True)
if run(["git", "-C", tree, "checkout", "--force", "--detach", args.rev]).returncode != 0:
    shutil.rmtree(tree, ignore_errors=True)
    run(["git", "worktree", "prune"])
    subprocess.run(["git", "worktree", "add", "--detach", "--force", tree, args.rev], check=True,
                   stdout=subprocess.DEVNULL)
if args.tests:
    shutil.rmtree(os.path.join(tree, "tests"))  # files added since that revision go too
    subprocess.run(["git", "-C", tree, "checkout", args.tests, "--", "tests"], check=True)

# Candidates, one per line and kind.
COMPARISONS = [("<=", "<"), (">=", ">"), ("==", "!="), ("!=", "=="), ("<", "<="), (">", ">="), ("&&", "||"),
               ("||", "&&")]
number = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
comparison = re.compile(r"(?<![<>=!&|-])(<=|>=|==|!=|&&|\|\||<|>)(?![<>=&|])")


def code_lines(path):
    with open(path) as f:
        lines = f.read().split("\n")
    in_comment = False
    for i, line in enumerate(lines):
        s = line.strip()
        if in_comment:
            in_comment = "*/" not in s
            continue
        if s.startswith("/*"):
            in_comment = "*/" not in s
            continue
        if not s or s.startswith("//") or s.startswith("#") or "static_assert" in s:
            continue
        yield i, line, lines


def strip_strings(line):
    code = re.sub(r'"(\\.|[^"\\])*"', lambda m: " " * len(m.group(0)), line)
    code = re.sub(r"'(\\.|[^'\\])*'", lambda m: " " * len(m.group(0)), code)
    cut = code.find("//")
    return code if cut < 0 else code[:cut] + " " * (len(code) - cut)


def candidates():
    out = []
    for folder, _, files in sorted(os.walk(os.path.join(tree, "src"))):
        for name in sorted(files):
            rel = os.path.relpath(os.path.join(folder, name), tree)
            if not name.endswith(".cpp") or rel in skipped or rel.startswith(skipped_folders):
                continue
            for i, line, lines in code_lines(os.path.join(tree, rel)):
                code = strip_strings(line)
                table = code.strip().startswith("{") and "," in code
                for m in comparison.finditer(code):
                    op = m.group(1)
                    if op in "<>" and re.search(r"\w<|template|static_cast|std::|>\(", code[max(0, m.start() - 12):m.end() + 2]):
                        continue  # a template bracket, not a comparison
                    new = dict(COMPARISONS)[op]
                    out.append((rel, i, "comparison", line[:m.start()] + new + line[m.end():]))
                for m in number.finditer(code):
                    value = int(m.group(1))
                    kind = "table cell" if table else "constant"
                    out.append((rel, i, kind, line[:m.start()] + str(value + 1) + line[m.end():]))
                s = code.strip()
                if s.endswith(";") and not s.startswith(("return", "case", "default", "break", "const ", "static ",
                                                         "constexpr", "using", "int ", "auto ", "std::")):
                    out.append((rel, i, "dropped statement", None))
                    nxt = strip_strings(lines[i + 1]).strip() if i + 1 < len(lines) else ""
                    if nxt.endswith(";") and nxt != s and not nxt.startswith(("return", "break")):
                        out.append((rel, i, "swapped lines", "swap"))
    return out


everything = candidates()
sample = random.Random(args.seed).sample(everything, min(args.sample, len(everything)))
print("mutate: %d candidates, sample of %d (seed %d), mutants from %s, tests from %s"
      % (len(everything), len(sample), args.seed, args.rev, args.tests or args.rev), flush=True)

# The tests' scratch folders go to a folder of this run, emptied after every mutant: a mutant that
# crashes a test leaves nothing in the system's temporary folder.
scratch = os.path.join(work, "tmp")
env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", TMPDIR=scratch)
subprocess.run(["cmake", "-S", tree, "-B", build, "-DCMAKE_BUILD_TYPE=None", "-DCMAKE_CXX_FLAGS=-O1"],
               check=True, stdout=subprocess.DEVNULL)
# The one list of suites, from tests/CMakeLists.txt; a revision from before it was written has these.
listed = os.path.join(build, "test-suites.txt")
suites = (open(listed).read().strip().split(";") if os.path.exists(listed)
          else ["game", "ui", "persist", "resources", "shell", "platform", "scenario"])
targets = [s + "_tests" for s in suites] + ["korvex"]


def build_tests():
    return run(["cmake", "--build", build, "-j2", "--target"] + targets).returncode == 0


def tests_fail(first):
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    order = [first] + [s for s in suites if s != first] if first else suites
    for suite in order:
        try:
            result = run([os.path.join(build, "tests", suite + "_tests")], cwd=os.path.join(build, "tests"),
                         env=env, timeout=args.timeout)
        except subprocess.TimeoutExpired:
            return suite + " (timeout)"
        if result.returncode != 0:
            return suite
    # The golden replays, as the test command verifies them: whole games that must end as recorded.
    replays = os.path.join(tree, "tests", "replays")
    for name in sorted(f for f in os.listdir(replays) if f.endswith(".kvr")) if os.path.isdir(replays) else []:
        try:
            result = run([os.path.join(tree, "tests", "replays", "verify_replay.sh"), os.path.join(build, "korvex"),
                          os.path.join(replays, name)], env=env, timeout=args.timeout)
        except subprocess.TimeoutExpired:
            return "replay " + name + " (timeout)"
        if result.returncode != 0:
            return "replay " + name
    return None


if not build_tests() or tests_fail(None):
    sys.exit("mutate: the unmutated tree does not build or its tests fail")

original = {}


def restore(*_):
    for path, text in original.items():
        with open(path, "w") as f:
            f.write(text)
    original.clear()


def interrupted(signum, _frame):
    restore()
    sys.exit("mutate: interrupted; the tree is restored")


signal.signal(signal.SIGINT, interrupted)
signal.signal(signal.SIGTERM, interrupted)

results = collections.defaultdict(lambda: [0, 0])
survivors = []
started = time.time()
try:
    for n, (rel, i, kind, new) in enumerate(sample, 1):
        path = os.path.join(tree, rel)
        with open(path) as f:
            text = f.read()
        lines = text.split("\n")
        if new is None:
            lines[i] = ""
        elif new == "swap":
            lines[i], lines[i + 1] = lines[i + 1], lines[i]
        else:
            lines[i] = new
        original[path] = text
        with open(path, "w") as f:
            f.write("\n".join(lines))
        try:
            if not build_tests():
                verdict = "does not build"
            else:
                failing = tests_fail(first_suite.get(rel.split("/")[1]))
                verdict = "caught by " + failing if failing else "SURVIVED"
        finally:
            restore()
        folder = "/".join(rel.split("/")[:2])
        if verdict != "does not build":
            results[folder][1] += 1
            if verdict.startswith("caught"):
                results[folder][0] += 1
            else:
                survivors.append("%s:%d %s: %s" % (rel, i + 1, kind, (new if new not in (None, "swap") else
                                                                     lines[i]).strip()))
        print("mutate: %d/%d %s:%d %s: %s" % (n, len(sample), rel, i + 1, kind, verdict), flush=True)
finally:
    restore()
    build_tests()
    shutil.rmtree(scratch, ignore_errors=True)

caught = sum(c for c, _ in results.values())
total = sum(t for _, t in results.values())
print("\nmutate: caught by folder (mutants that build)")
for folder in sorted(results):
    c, t = results[folder]
    print("  %-16s %3d of %3d  %3.0f%%" % (folder, c, t, 100.0 * c / t))
print("  %-16s %3d of %3d  %3.0f%%   (%.0f s)" % ("all", caught, total, 100.0 * caught / max(total, 1),
                                                time.time() - started))
if survivors:
    print("mutate: survived:")
    for line in survivors:
        print("  " + line)
