#!/usr/bin/env python3
"""Loads real VB6 projects and mutated copies of them through a tessary command and reports
crashes, hangs, runaway memory, invalid output and exit codes that disagree with the output.

    tools/mutate.py [--runs N] [--seed S] [--command "dump"|"ui {} --button DEPENDENCY"] [--timeout SEC] [--memory MB]
                    [--tessary PATH] [--report FILE] CORPUS_DIR...

Each project (.vbp/.vbg under the corpus folders) is first loaded as it is; then each run
copies one project's text files into a scratch folder, applies one to three mutations (files
cut short, NUL runs, binary garbage, other code pages and line ends, enormous lines, empty-line
floods, repeated, missing or absolute members, devices and pipes, letter case, groups naming
themselves, ...) and loads the copy. Not part of `make test`: run it by hand after changes to
the loader or a command.
"""
import argparse
import json
import os
import random
import re
import resource
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
from pathlib import Path

TEXT_EXTS = {".vbp", ".vbg", ".bas", ".cls", ".frm", ".ctl", ".pag", ".dob", ".dsr", ".txt"}
MEMBER_KEYS = ("Form", "Module", "Class", "UserControl", "PropertyPage", "UserDocument", "Designer")
DIAG = re.compile(r"^.+?(:\d+)?: \S.*$")


def find_projects(roots):
    found = []
    for root in roots:
        for p in Path(root).rglob("*"):
            if p.suffix.lower() in (".vbp", ".vbg") and p.is_file() and ".git" not in p.parts:
                found.append(p)
    return sorted(found)


def run(args, project, env=None):
    """Runs one command; returns a dict with rc, signal, seconds, peak MB and problems found."""
    words = args.command.split()
    # "{}" stands for the project file, for commands whose actions follow it.
    cmd = [args.tessary] + ([str(project) if w == "{}" else w for w in words] if "{}" in words
                            else words + [str(project)])
    limit = args.memory * 1024 * 1024

    def limits():
        if limit:  # 0: no limit (AddressSanitizer reserves terabytes of address space)
            resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
        os.setsid()

    start = time.monotonic()
    with tempfile.TemporaryFile() as fout, tempfile.TemporaryFile() as ferr:
        proc = subprocess.Popen(cmd, stdout=fout, stderr=ferr, preexec_fn=limits, env=env,
                                stdin=subprocess.DEVNULL)
        hung = False
        while True:  # wait4 gives this child's own peak memory
            pid, status, usage = os.wait4(proc.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() - start > args.timeout:
                os.killpg(proc.pid, signal.SIGKILL)
                pid, status, usage = os.wait4(proc.pid, 0)
                hung = True
                break
            time.sleep(0.01)
        proc.returncode = os.waitstatus_to_exitcode(status)
        fout.seek(0)
        ferr.seek(0)
        out, err = fout.read(), ferr.read()
    seconds = time.monotonic() - start
    result = {"project": str(project), "rc": proc.returncode, "seconds": round(seconds, 2),
              "peakMB": round(usage.ru_maxrss / 1024), "problems": []}
    problems = result["problems"]
    if hung:
        problems.append(f"hang: no answer after {args.timeout} s")
    elif proc.returncode < 0:
        problems.append(f"crash: signal {-proc.returncode}")
    words = args.command.split()
    # find and inspect answer as grep does: 2 is an error, which must say what went wrong.
    grep_like = words[0] in ("find", "inspect")
    if not hung and proc.returncode >= 0:
        if proc.returncode not in ((0, 1, 2) if grep_like else (0, 1)):
            problems.append(f"exit code {proc.returncode}")
        elif proc.returncode == 2 and grep_like and not err.strip():
            problems.append("exit code 2 without a message")
    prints_json = words[0] in ("dump", "ui") or "--json" in words or "json" in words
    if not hung and proc.returncode == 0 and prints_json:
        try:
            doc = json.loads(out.decode("utf-8"))
            if args.command.split()[0] == "dump" and not doc.get("projects"):
                problems.append("exit 0 but no project in the output")
        except (UnicodeDecodeError, json.JSONDecodeError) as e:
            problems.append(f"invalid JSON on stdout: {e}")
    if not hung and proc.returncode >= 0:
        for line in err.decode("utf-8", "replace").splitlines():
            if line.strip() and not DIAG.match(line) and not line.startswith(("usage:", " ")):
                problems.append(f"stderr line not 'file:line: message': {line[:200]}")
                break
    if b"AddressSanitizer" in err or b"runtime error:" in err:
        problems.append("sanitizer report")
    return result


# --- mutations ------------------------------------------------------------------------------

def members_of(vbp: Path):
    """(key, relative path) of each member line of a .vbp, as written."""
    out = []
    for line in vbp.read_bytes().decode("latin-1").splitlines():
        key, _, value = line.partition("=")
        if key in MEMBER_KEYS:
            path = value.split(";", 1)[-1].strip().strip('"')
            out.append((key, path))
    return out


def module_files(folder: Path):
    return [p for p in folder.rglob("*") if p.is_file() and p.suffix.lower() in TEXT_EXTS - {".vbp", ".vbg"}]


def m_truncate(rng, folder, project):
    f = rng.choice(module_files(folder) or [project])
    data = f.read_bytes()
    f.write_bytes(data[: rng.randrange(len(data) + 1)])
    return f"cut {f.name} short"


def m_nul_tail(rng, folder, project):
    f = rng.choice(module_files(folder) or [project])
    data = f.read_bytes()
    keep = data[: rng.randrange(len(data) + 1)]
    f.write_bytes(keep + b"\0" * rng.choice([1, 4096, 65536]))
    return f"NUL run at the end of {f.name}"


def m_nul_inside(rng, folder, project):
    f = rng.choice(module_files(folder) or [project])
    data = bytearray(f.read_bytes())
    for _ in range(rng.randint(1, 20)):
        if data:
            data[rng.randrange(len(data))] = 0
    f.write_bytes(bytes(data))
    return f"NUL bytes inside {f.name}"


def m_garbage(rng, folder, project):
    f = rng.choice(module_files(folder) + [project])
    data = f.read_bytes()
    at = rng.randrange(len(data) + 1)
    f.write_bytes(data[:at] + rng.randbytes(rng.choice([16, 4096, 200000])) + data[at:])
    return f"binary garbage inside {f.name}"


def m_flip(rng, folder, project):
    f = rng.choice(module_files(folder) + [project])
    data = bytearray(f.read_bytes())
    for _ in range(rng.randint(1, 200)):
        if data:
            data[rng.randrange(len(data))] = rng.randrange(256)
    f.write_bytes(bytes(data))
    return f"random bytes in {f.name}"


def m_recode(rng, folder, project):
    f = rng.choice(module_files(folder) or [project])
    data = f.read_bytes()
    src = rng.choice(["cp932", "cp1252"])
    dst = rng.choice(["utf-8", "utf-8-sig", "utf-16", "cp1251", "cp1252"])
    f.write_bytes(data.decode(src, "replace").encode(dst, "replace"))
    return f"{f.name} re-saved from {src} as {dst}"


def m_line_ends(rng, folder, project):
    files = module_files(folder) + [project]
    how = rng.choice([b"\n", b"\r", b"\r\r\n", b"\n\r"])
    for f in rng.sample(files, min(len(files), rng.randint(1, 5))):
        f.write_bytes(f.read_bytes().replace(b"\r\n", how))
    return f"line ends {how!r}"


def m_long_line(rng, folder, project):
    f = rng.choice(module_files(folder) or [project])
    data = f.read_bytes()
    at = rng.randrange(len(data) + 1)
    f.write_bytes(data[:at] + b"x" * rng.choice([2000, 400000, 5000000]) + data[at:])
    return f"enormous line in {f.name}"


def m_empty_lines(rng, folder, project):
    f = rng.choice(module_files(folder) or [project])
    f.write_bytes(f.read_bytes() + rng.choice([b"\r", b"\r\n", b"\n"]) * rng.choice([70000, 3000000]))
    return f"flood of empty lines in {f.name}"


def m_unbalanced(rng, folder, project):
    f = rng.choice(module_files(folder) or [project])
    lines = f.read_bytes().split(b"\r\n")
    pattern = re.compile(rb"^\s*(End (Sub|Function|Property)|Begin |End\s*$|BeginProperty|EndProperty)")
    kept = [l for l in lines if not (pattern.match(l) and rng.random() < 0.5)]
    f.write_bytes(b"\r\n".join(kept))
    return f"Begin/End lines dropped from {f.name}"


def vbp_append(project, text):
    with open(project, "ab") as fh:
        fh.write(text.encode("latin-1"))


def m_bad_members(rng, folder, project):
    if project.suffix.lower() != ".vbp":
        return m_truncate(rng, folder, project)
    choice = rng.choice(["absolute", "device", "fifo", "missing", "directory", "repeat", "case", "symlink"])
    if choice == "absolute":
        vbp_append(project, "\r\nModule=Abs; " + rng.choice(["/etc/hostname", "/proc/self/environ", "C:\\x.bas",
                                                            "\\\\srv\\s\\x.bas", "\\x.bas"]) + "\r\n")
    elif choice == "device":
        os.symlink("/dev/zero", folder / "zero.bas")
        vbp_append(project, "\r\nModule=Zero; zero.bas\r\n")
    elif choice == "fifo":
        os.mkfifo(folder / "pipe.bas")
        vbp_append(project, "\r\nClass=Pipe; pipe.bas\r\n")
    elif choice == "missing":
        files = module_files(folder)
        if files:
            rng.choice(files).unlink()
    elif choice == "directory":
        (folder / "dir.frm").mkdir()
        vbp_append(project, "\r\nForm=dir.frm\r\n")
    elif choice == "repeat":
        members = members_of(project)
        if members:
            key, path = rng.choice(members)
            vbp_append(project, "".join(f"\r\n{key}={'X; ' if key in ('Module', 'Class') else ''}{path}"
                                        for _ in range(rng.choice([2, 200]))) + "\r\n")
    elif choice == "case":
        text = project.read_bytes().decode("latin-1")
        project.write_bytes(re.sub(r"(?m)^((?:Form|Module|Class)=)(.*)$",
                                   lambda m: m.group(1) + m.group(2).upper(), text).encode("latin-1"))
    elif choice == "symlink":
        os.symlink("/etc/hostname", folder / "host.bas")
        vbp_append(project, "\r\nModule=Host; host.bas\r\n")
    return f"member: {choice}"


def m_not_a_project(rng, folder, project):
    choice = rng.choice(["self group", "mutual groups", "key=value", "empty", "vbp as vbg"])
    if choice == "self group":
        project.write_bytes(b"VBGROUP 5.0\r\nStartupProject=" + project.name.encode() + b"\r\n")
    elif choice == "mutual groups":
        (folder / "other.vbg").write_bytes(b"VBGROUP 5.0\r\nStartupProject=" + project.name.encode() + b"\r\n")
        project.write_bytes(b"VBGROUP 5.0\r\nProject=other.vbg\r\n")
    elif choice == "key=value":
        project.write_bytes(b"colour=blue\r\n")
    elif choice == "empty":
        project.write_bytes(b"")
    else:
        project.write_bytes(b"VBGROUP 5.0\r\n" + project.read_bytes())
    return f"project file: {choice}"


MUTATIONS = [m_truncate, m_nul_tail, m_nul_inside, m_garbage, m_flip, m_recode, m_line_ends, m_long_line,
             m_empty_lines, m_unbalanced, m_bad_members, m_not_a_project]


def copy_text_tree(project: Path, scratch: Path) -> Path:
    """Copies the text files of the project's folder (and the folders its members climb to)."""
    root = project.parent
    depth = 0
    if project.suffix.lower() == ".vbp":
        for _, path in members_of(project):
            depth = max(depth, path.replace("\\", "/").count("../"))
    for _ in range(depth):
        root = root.parent
    for src in root.rglob("*"):
        if ".git" in src.parts or not src.is_file() or src.suffix.lower() not in TEXT_EXTS:
            continue
        if src.stat().st_size > 8 * 1024 * 1024:
            continue
        dst = scratch / src.relative_to(root)
        dst.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(src, dst)
    return scratch / project.relative_to(root)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("corpus", nargs="+")
    ap.add_argument("--runs", type=int, default=200)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--command", default="dump")
    ap.add_argument("--timeout", type=float, default=20)
    ap.add_argument("--memory", type=int, default=4096, help="address-space limit in MB (0 for none)")
    ap.add_argument("--tessary", default=str(Path(__file__).resolve().parent.parent / "build/src/cli/tessary"))
    ap.add_argument("--report", default="-")
    ap.add_argument("--max-tree-mb", type=int, default=40, help="skip projects whose text tree is larger")
    args = ap.parse_args()

    rng = random.Random(args.seed)
    projects = find_projects(args.corpus)
    findings = []
    slowest = []
    print(f"{len(projects)} projects; loading each as it is", file=sys.stderr)
    for p in projects:
        r = run(args, p)
        slowest.append((r["seconds"], str(p)))
        if r["problems"]:
            findings.append({"mutations": [], **r})
    with tempfile.TemporaryDirectory(prefix="tessary-mutate-") as tmp:
        for i in range(args.runs):
            project = rng.choice(projects)
            scratch = Path(tmp) / f"run{i}"
            scratch.mkdir()
            try:
                copy = copy_text_tree(project, scratch)
                if sum(f.stat().st_size for f in scratch.rglob("*") if f.is_file()) > args.max_tree_mb << 20:
                    continue
                applied = [rng.choice(MUTATIONS)(rng, copy.parent, copy) for _ in range(rng.randint(1, 3))]
            except (OSError, ValueError, UnicodeError) as e:
                applied = [f"(mutation failed: {e})"]
                copy = scratch / project.name
            r = run(args, copy)
            if r["problems"]:
                kept = Path(tmp).parent / f"tessary-finding-{args.seed}-{i}"
                shutil.rmtree(kept, ignore_errors=True)
                shutil.copytree(scratch, kept, symlinks=True, ignore_dangling_symlinks=True,
                                ignore=lambda d, names: [n for n in names
                                                         if stat.S_ISFIFO(os.lstat(os.path.join(d, n)).st_mode)])
                findings.append({"mutations": applied, "kept": str(kept), **r})
                print(json.dumps(findings[-1], ensure_ascii=False), file=sys.stderr)
            shutil.rmtree(scratch, ignore_errors=True)
            if (i + 1) % 50 == 0:
                print(f"{i + 1}/{args.runs} runs, {len(findings)} findings", file=sys.stderr)
    slowest.sort(reverse=True)
    report = {"runs": args.runs, "projects": len(projects), "seed": args.seed, "command": args.command,
              "findings": findings, "slowestOriginals": slowest[:5]}
    text = json.dumps(report, indent=2, ensure_ascii=False)
    if args.report == "-":
        print(text)
    else:
        Path(args.report).write_text(text, encoding="utf-8")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
