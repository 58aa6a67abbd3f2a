"""scripts/release signing with a throwaway certificate and a local RFC 3161
service (openssl ts); its MSI installed, started, reinstalled, replaced by a
rebuild and a newer version, refused as a downgrade and removed, silently;
its tables and its winget manifest read (schemas/: winget's, MIT licence)."""
import hashlib
import http.server
import json
import os
import re
import subprocess
import threading
import zipfile

import jsonschema
import pytest
import yaml

from harness import REPO, WINE64, main_window


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

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Stamp)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def table(msi, name):
    """An MSI table as msiinfo exports it, one dict per row."""
    out = subprocess.run(["msiinfo", "export", msi, name], capture_output=True, text=True, check=True).stdout
    names, _, _, *rows = out.splitlines()
    return [dict(zip(names.split("\t"), row.split("\t"))) for row in rows]


def release(out, *args, env=None):
    done = subprocess.run([REPO / "scripts/release", "--out", out, *args], env=env,
                          capture_output=True, text=True, timeout=300)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


def test_release_signs_installs_upgrades_and_removes(prefix, exe, tmp_path):
    cert, key = make_cert(tmp_path, "signer", "codeSigning")
    tsa_cert, tsa_key = make_cert(tmp_path, "tsa", "timeStamping")
    (tmp_path / "tsa.cnf").write_text(
        f"[tsa]\ndefault_tsa = t\n[t]\nserial = {tmp_path}/serial\nsigner_cert = {tsa_cert}\n"
        f"signer_key = {tsa_key}\nsigner_digest = sha256\ndefault_policy = 1.2.3.4.1\n"
        "digests = sha256\ness_cert_id_alg = sha256\n")
    tsa = serve_time_stamps(str(tmp_path / "tsa.cnf"))
    try:
        assert "UNSIGNED" not in release(tmp_path, "--exe", exe, env=dict(
            os.environ, QH_SIGN_CERT=cert, QH_SIGN_KEY=key,
            QH_TIMESTAMP_URL=f"http://127.0.0.1:{tsa.server_address[1]}/"))
    finally:
        tsa.shutdown()
    assert "UNSIGNED" in release(tmp_path / "same", "--exe", exe)
    release(tmp_path / "newer", "--exe", exe, "--version", "99.0")

    msi, archive = tmp_path / "QuondaHalvix-2.1-x64.msi", tmp_path / "QuondaHalvix-2.1-x64.zip"
    assert (tmp_path / "SHA256SUMS").read_text().splitlines() == [
        f"{hashlib.sha256(p.read_bytes()).hexdigest()}  {p.name}" for p in (archive, msi)]
    # In a component keyed under HKCU (ICE43), straight in the Start menu (a folder would need RemoveFile).
    [shortcut] = table(msi, "Shortcut")
    [component] = [c for c in table(msi, "Component") if c["Component"] == shortcut["Component_"]]
    [key] = [r for r in table(msi, "Registry") if r["Registry"] == component["KeyPath"]]
    assert shortcut["Description"] == "定时关机、重启、注销和休眠" and int(component["Attributes"]) & 4
    assert (key["Root"], key["Component_"]) == ("1", component["Component"])
    assert not [f for f in table(msi, "File") if f["Component_"] == component["Component"]]
    assert shortcut["Directory_"] == "ProgramMenuFolder"
    assert not [d for d in table(msi, "Directory") if d["Directory_Parent"] == "ProgramMenuFolder"]
    assert [c["Description"] for c in table(msi, "LaunchCondition")] == ["已安装更新版本的 QuondaHalvix。"]

    # winget's manifest: valid by its schemas, naming the signed MSI beside it.
    docs = {}
    for kind, infix in (("version", ""), ("installer", ".installer"), ("defaultLocale", ".locale.zh-CN")):
        text = (tmp_path / f"winget/Quonda.QuondaHalvix{infix}.yaml").read_text(encoding="utf-8")
        url = f"https://aka.ms/winget-manifest.{kind.lower()}.1.9.0.schema.json"
        assert text.startswith(f"# yaml-language-server: $schema={url}\n")
        doc = docs[kind] = yaml.safe_load(text)
        assert (doc["PackageIdentifier"], doc["PackageVersion"]) == ("Quonda.QuondaHalvix", "2.1")
        schema = REPO / f"tests/e2e/schemas/winget-1.9.0/manifest.{kind}.1.9.0.json"
        jsonschema.validate(doc, json.loads(schema.read_text()))
    [installer] = docs["installer"]["Installers"]
    properties = {p["Property"]: p["Value"] for p in table(msi, "Property")}
    assert installer["InstallerSha256"] == hashlib.sha256(msi.read_bytes()).hexdigest().upper()
    assert installer["ProductCode"] == properties["ProductCode"]
    # winget tells an installed copy by these; a wrong UpgradeCode breaks `winget upgrade`.
    assert properties["UpgradeCode"] == "{780BD796-E910-48CB-BC48-649BE0843571}"
    assert installer["AppsAndFeaturesEntries"] == [{
        "DisplayName": "QuondaHalvix", "Publisher": properties["Manufacturer"], "DisplayVersion": "2.1.0",
        "ProductCode": properties["ProductCode"], "UpgradeCode": "{780BD796-E910-48CB-BC48-649BE0843571}"}]
    assert (docs["installer"]["Scope"], docs["installer"]["UpgradeBehavior"]) == ("machine", "install")
    assert installer["InstallerUrl"] == "https://www.quondahalvix.com/download/QuondaHalvix-2.1-x64.msi"

    with zipfile.ZipFile(archive) as z:
        assert sorted(z.namelist())[1:] == ["QuondaHalvix-2.1-x64/QuondaHalvix.exe",
                                            "QuondaHalvix-2.1-x64/README.txt"]
        (tmp_path / "zipped.exe").write_bytes(z.read("QuondaHalvix-2.1-x64/QuondaHalvix.exe"))
    drive_c = prefix.path / "drive_c"

    def assert_signed(path):
        done = subprocess.run(["osslsigncode", "verify", "-in", path, "-CAfile", cert, "-TSA-CAfile",
                               tsa_cert], capture_output=True, text=True, timeout=60)
        assert "Timestamp Server Signature verification: ok" in done.stdout and done.returncode == 0, \
            done.stdout + done.stderr

    def msiexec(option, package):
        done = subprocess.run([WINE64, "msiexec", option, "Z:" + str(package).replace("/", "\\"), "/qn"],
                              env=prefix.env, capture_output=True, timeout=120)
        out = subprocess.run([WINE64, "reg", "query", r"HKLM\Software\Microsoft\Windows\CurrentVersion"
                              r"\Uninstall", "/s"], env=prefix.env, capture_output=True, timeout=60)
        installed = [re.search(r"DisplayVersion\s+REG_SZ\s+(\S+)", key).group(1)
                     for key in out.stdout.decode(errors="replace").split("HKEY_")
                     if re.search(r"DisplayName\s+REG_SZ\s+QuondaHalvix\s", key)]
        print("msiexec", option, package.relative_to(tmp_path), "->", done.returncode, "installed:", installed)
        return done.returncode, installed

    def shortcut_key():
        query = [WINE64, "reg", "query", r"HKCU\Software\Quonda\QuondaHalvix", "/v", "StartMenuShortcut"]
        return subprocess.run(query, env=prefix.env, capture_output=True, timeout=60).returncode == 0

    def ours():
        return [str(p.relative_to(drive_c)) for p in drive_c.rglob("*") if "quondahalvix" in p.name.lower()]

    assert_signed(tmp_path / "zipped.exe")
    assert_signed(msi)
    assert msiexec("/i", msi) == (0, ["2.1.0"])
    assert_signed(drive_c / "Program Files/QuondaHalvix/QuondaHalvix.exe")
    # Wine puts a per-machine shortcut in the user's Start menu, Windows in ProgramData's.
    [link] = [drive_c / p for p in ours() if p.endswith("Start Menu/Programs/QuondaHalvix.lnk")]
    assert "定时关机、重启、注销和休眠".encode("utf-16-le") in link.read_bytes() and shortcut_key()
    main_window(prefix.launch(r"C:\Program Files\QuondaHalvix\QuondaHalvix.exe"))
    prefix.apps[-1].kill()

    newer = tmp_path / "newer/QuondaHalvix-99.0-x64.msi"
    assert msiexec("/i", msi) == (0, ["2.1.0"])
    assert msiexec("/i", tmp_path / "same/QuondaHalvix-2.1-x64.msi") == (0, ["2.1.0"])
    assert msiexec("/i", newer) == (0, ["99.0.0"])
    code, installed = msiexec("/i", msi)  # an older package does not go over a newer one
    assert code != 0 and installed == ["99.0.0"]
    assert msiexec("/x", newer) == (0, [])
    assert ours() == [] and not shortcut_key()


@pytest.mark.parametrize("codepage, description, error", [
    ("", "开始", "needs Codepage"),  # a text outside ASCII with no code page to carry it
    ('Codepage="936"', "它's", "a quote"),  # msibuild's SQL cannot escape it
])
def test_msi_texts_refuses_what_it_cannot_write(tmp_path, codepage, description, error):
    wxs = tmp_path / "t.wxs"
    wxs.write_text(f'<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Product {codepage}>'
                   f'<Shortcut Id="s" Description="{description}"/></Product></Wix>', encoding="utf-8")
    done = subprocess.run(["/usr/bin/python3", REPO / "assets/release/msi_texts.py", wxs, tmp_path / "t.msi"],
                          capture_output=True, text=True, timeout=60)
    assert done.returncode == 1 and error in done.stderr
