"""The release as an administrator deploys it: scripts/release packages the
built exe, signed with a throwaway certificate and time-stamped by a local
RFC 3161 service (openssl ts), and the MSI goes through a silent install, the
program's start from Program Files, a repeated install, a rebuilt package of
the same version, a newer one, a refused downgrade and a silent removal."""
import hashlib
import http.server
import os
import re
import subprocess
import threading
import zipfile

from harness import REPO, WINE64


def make_cert(folder, name, usage):
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-keyout", f"{name}.key", "-out", f"{name}.pem", "-subj", f"/CN=test {name}",
                    "-addext", f"extendedKeyUsage=critical,{usage}"],
                   cwd=folder, check=True, capture_output=True, timeout=60)
    return str(folder / f"{name}.pem"), str(folder / f"{name}.key")


def serve_time_stamps(config):
    class Stamp(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            query = self.rfile.read(int(self.headers["Content-Length"]))
            reply = subprocess.run(["openssl", "ts", "-reply", "-config", config, "-queryfile",
                                    "/dev/stdin", "-out", "/dev/stdout"],
                                   input=query, capture_output=True, timeout=60).stdout
            self.send_response(200)
            self.send_header("Content-Type", "application/timestamp-reply")
            self.end_headers()
            self.wfile.write(reply)

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Stamp)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def release(out, *args, env=None):
    done = subprocess.run([REPO / "scripts/release", "--out", out, *args], env=env,
                          capture_output=True, text=True, timeout=300)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


def test_release_signs_installs_upgrades_and_removes(prefix, exe, tmp_path):
    cert, key = make_cert(tmp_path, "signer", "codeSigning")
    tsa_cert, tsa_key = make_cert(tmp_path, "tsa", "timeStamping")
    config = tmp_path / "tsa.cnf"
    config.write_text(f"[tsa]\ndefault_tsa = t\n[t]\nserial = {tmp_path}/serial\nsigner_cert = {tsa_cert}\n"
                      f"signer_key = {tsa_key}\nsigner_digest = sha256\ndefault_policy = 1.2.3.4.1\n"
                      "digests = sha256\ness_cert_id_alg = sha256\n")
    tsa = serve_time_stamps(str(config))
    signing = dict(os.environ, QH_SIGN_CERT=cert, QH_SIGN_KEY=key,
                   QH_TIMESTAMP_URL=f"http://127.0.0.1:{tsa.server_address[1]}/")
    try:
        assert "UNSIGNED" not in release(tmp_path, "--exe", exe, env=signing)
    finally:
        tsa.shutdown()
    assert "UNSIGNED" in release(tmp_path / "same", "--exe", exe)
    release(tmp_path / "newer", "--exe", exe, "--version", "99.0")

    msi, archive = tmp_path / "QuondaHalvix-2.1-x64.msi", tmp_path / "QuondaHalvix-2.1-x64.zip"
    assert (tmp_path / "SHA256SUMS").read_text().splitlines() == [
        f"{hashlib.sha256(p.read_bytes()).hexdigest()}  {p.name}" for p in (archive, msi)]
    with zipfile.ZipFile(archive) as z:
        z.extractall(tmp_path / "zip")
    folder = tmp_path / "zip/QuondaHalvix-2.1-x64"
    assert sorted(os.listdir(folder)) == ["QuondaHalvix.exe", "README.txt"]
    readme = (folder / "README.txt").read_bytes().decode("utf-8")
    assert readme.startswith("\ufeffQuondaHalvix 2.1\r\n") and "以管理员身份运行" in readme

    drive_c = prefix.path / "drive_c"
    installed_exe = drive_c / "Program Files/QuondaHalvix/QuondaHalvix.exe"

    def assert_signed(path):
        done = subprocess.run(["osslsigncode", "verify", "-in", path, "-CAfile", cert,
                               "-TSA-CAfile", tsa_cert], capture_output=True, text=True, timeout=60)
        assert done.returncode == 0 and "Timestamp Server Signature verification: ok" in done.stdout, \
            done.stdout + done.stderr

    def msiexec(option, package):
        done = subprocess.run([WINE64, "msiexec", option, "Z:" + str(package).replace("/", "\\"), "/qn"],
                              env=prefix.env, capture_output=True, timeout=120)
        print("msiexec", option, package.relative_to(tmp_path), "->", done.returncode)
        return done.returncode

    def installed():
        out = subprocess.run([WINE64, "reg", "query", r"HKLM\Software\Microsoft\Windows\CurrentVersion"
                              r"\Uninstall", "/s"], env=prefix.env, capture_output=True, timeout=60)
        found = [re.search(r"DisplayVersion\s+REG_SZ\s+(\S+)", key).group(1)
                 for key in out.stdout.decode(errors="replace").split("HKEY_")
                 if re.search(r"DisplayName\s+REG_SZ\s+QuondaHalvix\s", key)]
        print("  in Apps & features:", found)
        return found

    def ours():
        return [str(p.relative_to(drive_c)) for p in drive_c.rglob("*") if "quondahalvix" in p.name.lower()]

    assert_signed(folder / "QuondaHalvix.exe")
    assert_signed(msi)
    assert msiexec("/i", msi) == 0 and installed() == ["2.1.0"]
    assert_signed(installed_exe)
    # Wine puts a per-machine shortcut in the user's Start menu, Windows in
    # ProgramData's: either way it is there.
    assert any(p.endswith("Start Menu/Programs/QuondaHalvix.lnk") for p in ours()), ours()
    app = prefix.launch(r"C:\Program Files\QuondaHalvix\QuondaHalvix.exe")
    app.wait_window(name="QuondaHalvix", size=(867, 524))
    app.kill()

    assert msiexec("/i", msi) == 0 and installed() == ["2.1.0"]
    assert msiexec("/i", tmp_path / "same/QuondaHalvix-2.1-x64.msi") == 0 and installed() == ["2.1.0"]
    newer = tmp_path / "newer/QuondaHalvix-99.0-x64.msi"
    assert msiexec("/i", newer) == 0 and installed() == ["99.0.0"]
    assert msiexec("/i", msi) != 0 and installed() == ["99.0.0"]  # no downgrade
    assert msiexec("/x", newer) == 0 and installed() == []
    assert ours() == []
