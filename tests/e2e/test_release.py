"""The release as an administrator deploys it: scripts/release packages the
built exe, signed with a throwaway certificate and time-stamped by a local
RFC 3161 service, and the MSI goes through a silent install, the program's
start from Program Files, a repeated install, a rebuilt package of the same
version, a newer one, a refused downgrade and a silent removal, in a fresh
copy of the Wine prefix."""
import hashlib
import http.server
import os
import re
import subprocess
import threading
import zipfile
from pathlib import Path

import pytest

from harness import REPO, WINE64

UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
INSTALLED_EXE = r"C:\Program Files\QuondaHalvix\QuondaHalvix.exe"


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, capture_output=True, timeout=60)


def self_signed(folder, name, usage):
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
            "-keyout", f"{name}.key", "-out", f"{name}.pem", "-subj", f"/CN=QuondaHalvix test {name}",
            "-addext", f"extendedKeyUsage=critical,{usage}",
            "-addext", "keyUsage=critical,digitalSignature", cwd=folder)
    return folder / f"{name}.pem", folder / f"{name}.key"


@pytest.fixture
def signer(tmp_path):
    """A code-signing certificate, and a time-stamping service on 127.0.0.1
    that answers with `openssl ts` under a certificate of its own."""
    cert, key = self_signed(tmp_path, "signer", "codeSigning")
    tsa_cert, tsa_key = self_signed(tmp_path, "tsa", "timeStamping")
    config = tmp_path / "tsa.cnf"
    config.write_text(
        "[tsa]\ndefault_tsa = tsa_config\n[tsa_config]\n"
        f"serial = {tmp_path}/serial\nsigner_cert = {tsa_cert}\nsigner_key = {tsa_key}\n"
        "signer_digest = sha256\ndefault_policy = 1.2.3.4.1\n"
        "digests = sha1, sha256, sha384, sha512\naccuracy = secs:1\ness_cert_id_alg = sha256\n")

    class Stamp(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            query = self.rfile.read(int(self.headers["Content-Length"]))
            reply = subprocess.run(
                ["openssl", "ts", "-reply", "-config", str(config), "-queryfile", "/dev/stdin",
                 "-out", "/dev/stdout"], input=query, capture_output=True, timeout=60).stdout
            self.send_response(200)
            self.send_header("Content-Type", "application/timestamp-reply")
            self.send_header("Content-Length", str(len(reply)))
            self.end_headers()
            self.wfile.write(reply)

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Stamp)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    yield dict(QH_SIGN_CERT=str(cert), QH_SIGN_KEY=str(key),
               QH_TIMESTAMP_URL=f"http://127.0.0.1:{server.server_address[1]}/",
               ca=str(cert), tsa_ca=str(tsa_cert))
    server.shutdown()
    server.server_close()


def release(exe, out, *args, env=None):
    done = subprocess.run([str(REPO / "scripts/release"), "--exe", str(exe), "--out", str(out), *args],
                          env=env, capture_output=True, text=True, timeout=300)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


def assert_signed(path, signer):
    done = subprocess.run(["osslsigncode", "verify", "-in", str(path), "-CAfile", signer["ca"],
                           "-TSA-CAfile", signer["tsa_ca"]], capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stdout + done.stderr
    assert "Timestamp Server Signature verification: ok" in done.stdout, done.stdout


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def test_release_installs_upgrades_and_removes_silently(prefix, exe, signer, tmp_path):
    signed_env = dict(os.environ, **{k: v for k, v in signer.items() if k.startswith("QH_")})
    printed = release(exe, tmp_path / "a", env=signed_env)
    assert "UNSIGNED" not in printed
    a = tmp_path / "a/QuondaHalvix-2.1-x64.msi"
    archive = tmp_path / "a/QuondaHalvix-2.1-x64.zip"
    sums = (tmp_path / "a/SHA256SUMS").read_text().splitlines()
    assert sums == [f"{hashlib.sha256(p.read_bytes()).hexdigest()}  {p.name}" for p in (archive, a)]
    with zipfile.ZipFile(archive) as z:
        assert sorted(z.namelist()) == ["QuondaHalvix-2.1-x64/", "QuondaHalvix-2.1-x64/QuondaHalvix.exe",
                                        "QuondaHalvix-2.1-x64/README.txt"]
        readme = z.read("QuondaHalvix-2.1-x64/README.txt").decode("utf-8")
        z.extract("QuondaHalvix-2.1-x64/QuondaHalvix.exe", tmp_path / "unzipped")
    assert readme.startswith("\ufeffQuondaHalvix 2.1\r\n")
    assert "以管理员身份运行" in readme and "退出本软件" in readme
    assert_signed(tmp_path / "unzipped/QuondaHalvix-2.1-x64/QuondaHalvix.exe", signer)
    assert_signed(a, signer)

    # Rebuilt with the same version (a new ProductCode) and a newer one, unsigned.
    assert "UNSIGNED" in release(exe, tmp_path / "b")
    same = tmp_path / "b/QuondaHalvix-2.1-x64.msi"
    release(exe, tmp_path / "c", "--version", "99.0")
    newer = tmp_path / "c/QuondaHalvix-99.0-x64.msi"

    def msiexec(*args):
        done = subprocess.run([WINE64, "msiexec", *args, "/qn"], env=prefix.env, cwd=prefix.root,
                              capture_output=True, timeout=120)
        print("msiexec", *args[:1], Path(args[1].replace("\\", "/")).name, "->", done.returncode)
        return done.returncode

    def installed():
        """(DisplayName, DisplayVersion) of every product of ours in Apps & features."""
        out = subprocess.run([WINE64, "reg", "query", UNINSTALL, "/s"], env=prefix.env,
                             capture_output=True, timeout=60).stdout.decode(errors="replace")
        entries = []
        for block in re.split(r"\r?\n(?=HKEY_)", out):
            name = re.search(r"DisplayName\s+REG_SZ\s+(.*)", block)
            if name and "QuondaHalvix" in name.group(1):
                version = re.search(r"DisplayVersion\s+REG_SZ\s+(.*)", block)
                entries.append((name.group(1).strip(), version and version.group(1).strip()))
        print("installed:", entries)
        return entries

    drive_c = prefix.path / "drive_c"
    ours = lambda: sorted(str(p.relative_to(drive_c)) for p in drive_c.rglob("*")
                          if "quondahalvix" in p.name.lower())

    assert msiexec("/i", windows_path(a)) == 0
    assert installed() == [("QuondaHalvix", "2.1.0")]
    # Wine puts a per-machine shortcut in the user's Start menu, Windows in
    # ProgramData's: either way it is there.
    assert any(p.endswith("Start Menu/Programs/QuondaHalvix.lnk") for p in ours()), ours()
    assert_signed(drive_c / "Program Files/QuondaHalvix/QuondaHalvix.exe", signer)
    app = prefix.launch(INSTALLED_EXE)
    app.wait_window(name="QuondaHalvix", size=(867, 524))
    app.kill()

    assert msiexec("/i", windows_path(a)) == 0
    assert msiexec("/i", windows_path(same)) == 0
    assert installed() == [("QuondaHalvix", "2.1.0")]
    assert msiexec("/i", windows_path(newer)) == 0
    assert installed() == [("QuondaHalvix", "99.0.0")]
    assert msiexec("/i", windows_path(a)) != 0  # no downgrade over a newer version
    assert installed() == [("QuondaHalvix", "99.0.0")]

    assert msiexec("/x", windows_path(newer)) == 0
    assert installed() == []
    assert ours() == []
