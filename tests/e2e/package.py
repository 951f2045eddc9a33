"""The Windows Installer package as a deployment system uses it: built by scripts/make-dist, installed, upgraded and
removed silently by msiexec under Wine, each journey in a fresh prefix, and checked by the files, the registry and
the task the package leaves. Also the winget manifests make-dist writes, against the schema in dist/winget.

    python3 tests/e2e/package.py [JOURNEY...]
"""

import glob
import hashlib
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import yaml
import jsonschema

import harness
from harness import check

SCHEMA = os.path.join(harness.ROOT, 'dist', 'winget', 'manifest-1.6.schema.json')
INSTALL_DIR = r'C:\Program Files\Lumivex'
UNINSTALL_KEY = r'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
PACKAGES = {}  # 'current' and 'older': {'msi', 'version', 'manifests', 'ProductCode', 'ProductVersion', 'UpgradeCode'}


def build_packages(out):
    """The package of the program's version and one a version lower, as make-dist builds them."""
    current = harness.version()
    major, minor = current.split('.')
    lower = int(major) * 10 ** len(minor) + int(minor) - 1
    older = f'{lower // 10 ** len(minor)}.{lower % 10 ** len(minor):0{len(minor)}d}'
    for name, version in (('current', current), ('older', older)):
        folder = os.path.join(out, name)
        subprocess.run([os.path.join(harness.ROOT, 'scripts', 'make-dist'), '--version', version, folder], check=True,
                       stdout=subprocess.DEVNULL)
        msi = os.path.join(folder, f'lumivex-{version}.msi')
        table = subprocess.run(['msiinfo', 'export', msi, 'Property'], check=True, stdout=subprocess.PIPE,
                               text=True).stdout
        properties = dict(line.rstrip('\r').split('\t', 1) for line in table.splitlines()[3:])
        PACKAGES[name] = {'msi': msi, 'version': version, 'manifests': os.path.join(folder, 'winget'),
                          **{key: properties[key] for key in ('ProductCode', 'ProductVersion', 'UpgradeCode')}}


# ---- what msiexec leaves in the prefix

def program_folder(bed, *parts):
    return bed.drive_c('Program Files', 'Lumivex', *parts)


def startup_shortcuts(bed):
    """The Startup shortcuts named after the program. Wine's msi puts a per-machine package's StartupFolder in the
    installing user's Startup folder, Windows in the all-users one: either counts."""
    link = ('Microsoft', 'Windows', 'Start Menu', 'Programs', 'StartUp', 'lumivex.lnk')
    return (glob.glob(bed.drive_c('ProgramData', *link)) +
            glob.glob(bed.drive_c('users', '*', 'AppData', 'Roaming', *link)))


def logon_task(bed):
    return bed.drive_c('windows', 'system32', 'tasks', 'lumivex-AllUsers')


def shortcut_target(path):
    """The target of a shell link, and whether it is advertised (a Windows Installer descriptor instead of a path):
    the link's LinkInfo holds the local path."""
    data = Path(path).read_bytes()
    flags = struct.unpack_from('<I', data, 0x14)[0]
    advertised = bool(flags & 0x1000)
    at = 0x4C
    if flags & 0x1:  # the item id list comes first
        at += 2 + struct.unpack_from('<H', data, at)[0]
    if not flags & 0x2:
        return None, advertised
    local_path_at = struct.unpack_from('<I', data, at + 16)[0]
    end = data.index(b'\0', at + local_path_at)
    return data[at + local_path_at:end].decode('cp932'), advertised


def registry(bed, key):
    """The values under key and its subkeys, as {subkey: {name: value}}; None when key does not exist."""
    done = bed.wine('reg', 'query', key, '/s')
    if done.returncode != 0:
        return None
    found, current = {}, None
    for line in done.stdout.splitlines():
        if line.startswith('HKEY_'):
            current = found.setdefault(line.strip(), {})
        elif line.startswith('    ') and current is not None:
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith('REG_'):
                current[parts[0]] = parts[2] if len(parts) > 2 else ''
    return found


def uninstall_entries(bed):
    """The Uninstall entries named Lumivex: {key: values}."""
    return {key: values for key, values in (registry(bed, UNINSTALL_KEY) or {}).items()
            if values.get('DisplayName') == 'Lumivex'}


def read_ini(bed):
    return harness.read_ini(program_folder(bed, 'lumivex.ini'))


def msiexec(bed, what, expect, *arguments, timeout=120):
    """Runs msiexec with a log of its own, started by the driver so that its whole exit code comes back (a Linux
    process gives its low byte only); checks that it ends with expect (what it means) and returns the log's text."""
    log = os.path.join(bed.tmp, f'msiexec-{time.monotonic_ns()}.log')
    # Properties as the documentation writes them: NAME="value" where the value holds a space.
    words = [f'{a.split("=", 1)[0]}="{a.split("=", 1)[1]}"' if ' ' in a and '=' in a else f'"{a}"' if ' ' in a else a
             for a in (*arguments, '/l*v', harness.to_windows(log))]
    started = time.monotonic()
    ended = bed.wait_exit(bed.launch('C:\\windows\\system32\\msiexec.exe', arguments=' '.join(words)), timeout)
    check(ended.startswith('exited '), f'msiexec {" ".join(arguments)} still runs after {timeout} s')
    rc = int(ended.split()[1])
    print(f'msiexec {" ".join(a for a in arguments if not a.startswith("Z:"))}: exit code {rc}, '
          f'{time.monotonic() - started:.1f} s', flush=True)
    raw = Path(log).read_bytes() if os.path.exists(log) else b''
    text = raw.decode('utf-16') if raw[:2] == b'\xff\xfe' else raw.decode('cp932', errors='replace')
    check(rc == expect, f'{what} ({expect}), got {rc}')
    return text


def install(bed, what, package, *properties, expect=0):
    return msiexec(bed, what, expect, '/i', harness.to_windows(package['msi']), '/qn', *properties)


def uninstall(bed, what, package):
    msiexec(bed, what, 0, '/x', package['ProductCode'], '/qn')


def check_installed(bed, package):
    for name in ('lumivex.exe', 'README-en.txt', 'README-ja.txt', 'LICENSE.txt', 'THIRD-PARTY-NOTICES.txt',
                 os.path.join('pic', 'lumivex-logo.bmp'), os.path.join('pic', 'lumivex-logo.jpg'),
                 os.path.join('pic', 'lumivex-shaped.png')):
        check(os.path.isfile(program_folder(bed, name)), f'{name} installed under Program Files\\Lumivex')
    entries = uninstall_entries(bed)
    check(len(entries) == 1, f'one Uninstall entry named Lumivex, found {len(entries)}')
    (key, entry), = entries.items()
    check(entry.get('DisplayVersion') == package['ProductVersion'] and entry.get('Publisher') == 'Lumivex',
          f'the entry gives the version and the publisher: {entry}')
    check(key.endswith('\\' + package['ProductCode']), f'the entry is found by the product code: {key}')
    check(entry.get('InstallLocation') == INSTALL_DIR + '\\', f'and names the folder: {entry.get("InstallLocation")}')
    icons = [v.get('ProductIcon', '') for v in registry(bed, r'HKCR\Installer\Products').values()
             if v.get('ProductName') == 'Lumivex']
    check(len(icons) == 1 and icons[0].lower().startswith('c:\\') and icons[0].endswith('.ico')
          and os.path.isfile(bed.drive_c(*icons[0][3:].split('\\'))), f"the program's icon for the entry: {icons}")


def check_removed(bed):
    left = [os.path.relpath(p, program_folder(bed)) for p in glob.glob(program_folder(bed, '**'), recursive=True)
            if os.path.isfile(p)]
    check(left == [], f'nothing left under Program Files\\Lumivex: {left}')
    check(startup_shortcuts(bed) == [], 'no Startup shortcut left')
    check(not os.path.exists(logon_task(bed)), 'no logon task left')
    check(uninstall_entries(bed) == {}, 'no Uninstall entry left')
    check(registry(bed, r'HKLM\Software\Lumivex') is None, 'no HKLM\\Software\\Lumivex left')


# ---- the journeys

def bad_properties_refused_then_default_install_and_uninstall(bed):
    package = PACKAGES['current']
    # Wine's msiexec logs no launch condition's message at /qn, so the log is read for the custom action's only.
    for bad, reason in (('SECONDS=ten', 'SECONDS must be a whole number'), ('REGISTER=always', None)):
        log = install(bed, f'{bad} fails the install', package, bad, expect=1603)
        check(reason is None or reason in log, f'and the log says why: {reason}')
        check_removed(bed)

    install(bed, 'msiexec /i /qn ends with 0', package)
    check_installed(bed, package)
    shortcuts = startup_shortcuts(bed)
    check(len(shortcuts) == 1, f'one Startup shortcut, found {shortcuts}')
    target, advertised = shortcut_target(shortcuts[0])
    check(not advertised, 'the shortcut names the file, not the Windows Installer feature')
    check(target == INSTALL_DIR + r'\lumivex.exe', f'the shortcut starts the installed program, got {target!r}')
    check(not os.path.exists(logon_task(bed)), 'no logon task without REGISTER=task')
    check(not os.path.exists(program_folder(bed, 'lumivex.ini')), 'no settings file without PICTURE, SECONDS or MESSAGE')

    uninstall(bed, 'msiexec /x {ProductCode} /qn ends with 0', package)
    check_removed(bed)


def settings_and_logon_task_kept_by_an_upgrade_and_removed(bed):
    older, current = PACKAGES['older'], PACKAGES['current']
    picture = INSTALL_DIR + r'\pic\lumivex-logo.bmp'
    settings = (f'PICTURE={picture}', 'SECONDS=2', 'MESSAGE=ようこそ、株式会社へ')
    install(bed, 'install with REGISTER=task and the settings ends with 0', older, 'REGISTER=task', *settings)
    check(os.path.isfile(logon_task(bed)), 'REGISTER=task makes the logon task for every user')
    check(startup_shortcuts(bed) == [], 'and no Startup shortcut')
    ini = read_ini(bed)
    for line in ('splashtime=2', 'message=ようこそ、株式会社へ', f'picture={picture}'):
        check(line in ini.splitlines(), f'the settings file holds {line!r}: {ini!r}')

    # The newer version without REGISTER keeps the way registered. The settings are given again: Windows keeps the
    # file through the older version's removal (it runs with UPGRADINGPRODUCTCODE set), Wine removes it (its
    # msiexec runs that removal as a plain uninstall).
    install(bed, 'the upgrade ends with 0', current, *settings)
    check_installed(bed, current)  # one entry, of the newer version
    check(os.path.isfile(logon_task(bed)) and startup_shortcuts(bed) == [], 'the upgrade keeps the logon task')
    check(read_ini(bed) == ini, 'and the settings file holds the same')
    # The installed program, started as the Startup shortcut starts it, shows the picture it was given.
    bed.shows_sample_and_ends(INSTALL_DIR + '\\lumivex.exe', 'the picture given at install', 2 + 8)

    uninstall(bed, 'uninstall ends with 0', current)
    check_removed(bed)  # the settings file the package wrote and left unchanged goes too


def changed_ini_kept_by_upgrade_and_uninstall_downgrade_refused(bed):
    older, current = PACKAGES['older'], PACKAGES['current']
    install(bed, 'the older package installs', older, 'REGISTER=none', 'SECONDS=3')
    check(not os.path.exists(logon_task(bed)) and startup_shortcuts(bed) == [], 'REGISTER=none: neither task nor shortcut')
    # An administrator changes the machine-wide settings afterwards.
    changed = read_ini(bed).replace('splashtime=3', 'splashtime=9')
    Path(program_folder(bed, 'lumivex.ini')).write_bytes(changed.encode('cp932'))

    install(bed, 'the newer package installs over it', current, 'REGISTER=Task')
    check(os.path.isfile(logon_task(bed)) and startup_shortcuts(bed) == [], 'the upgrade registers as it is told')
    check(read_ini(bed) == changed, 'the upgrade keeps the changed settings file as it is')

    install(bed, 'the older package refuses to install over the newer one', older, expect=1603)
    check_installed(bed, current)

    uninstall(bed, 'uninstall ends with 0', current)
    check(os.listdir(program_folder(bed)) == ['lumivex.ini'] and read_ini(bed) == changed,
          'uninstall keeps only the changed settings file')
    os.remove(program_folder(bed, 'lumivex.ini'))
    check_removed(bed)


def winget_manifests_validate(bed):
    schema = json.loads(Path(SCHEMA).read_text(encoding='utf-8'))
    package = PACKAGES['current']
    folder = os.path.join(package['manifests'], 'manifests', 'l', 'Lumivex', 'Lumivex', package['version'])
    manifests = {}
    for path in sorted(glob.glob(os.path.join(folder, '*.yaml'))):
        manifest = yaml.safe_load(Path(path).read_text(encoding='utf-8'))
        kind = manifest.get('ManifestType')
        check(kind in ('installer', 'defaultLocale', 'version'), f'{path}: ManifestType {kind!r}')
        errors = sorted(jsonschema.Draft202012Validator({'$ref': f'#/$defs/{kind}', '$defs': schema['$defs']})
                        .iter_errors(manifest), key=str)
        check(not errors, f'{os.path.basename(path)}: ' + '; '.join(
            f'{"/".join(map(str, e.absolute_path))}: {e.message}' for e in errors))
        manifests[kind] = (os.path.basename(path), manifest)
    check(sorted(manifests) == ['defaultLocale', 'installer', 'version'], f'one manifest of each kind: {manifests}')
    version = manifests['version'][1]
    check(manifests['version'][0] == 'Lumivex.Lumivex.yaml'
          and manifests['installer'][0] == 'Lumivex.Lumivex.installer.yaml'
          and manifests['defaultLocale'][0] == f'Lumivex.Lumivex.locale.{version["DefaultLocale"]}.yaml'
          and manifests['defaultLocale'][1]['PackageLocale'] == version['DefaultLocale'],
          'the files are named as winget names them, the default locale has its manifest')
    for _, m in manifests.values():
        check((m['PackageIdentifier'], m['PackageVersion']) == ('Lumivex.Lumivex', package['version']),
              f'every manifest names the package and its version: {m["PackageIdentifier"]} {m["PackageVersion"]}')
    installer = manifests['installer'][1]
    sha256 = hashlib.sha256(Path(package['msi']).read_bytes()).hexdigest().upper()
    entry = installer['AppsAndFeaturesEntries'][0]
    check(installer['ProductCode'] == entry['ProductCode'] == package['ProductCode']
          and entry['UpgradeCode'] == package['UpgradeCode']
          and installer['Installers'][0]['InstallerSha256'] == sha256,
          "the manifest gives the package's product code, upgrade code and hash")


JOURNEYS = [
    ('WingetManifestsValidate', winget_manifests_validate),
    ('BadPropertiesRefusedThenDefaultInstallAndUninstall', bad_properties_refused_then_default_install_and_uninstall),
    ('SettingsAndLogonTaskKeptByAnUpgradeAndRemoved', settings_and_logon_task_kept_by_an_upgrade_and_removed),
    ('ChangedIniKeptByUpgradeAndUninstallDowngradeRefused', changed_ini_kept_by_upgrade_and_uninstall_downgrade_refused),
]

if __name__ == '__main__':
    only = sys.argv[1:]
    out = tempfile.mkdtemp(prefix='lumivex-packages-')
    try:
        build_packages(out)
        sys.exit(harness.run(JOURNEYS, fresh_bed=True, only=only))
    finally:
        shutil.rmtree(out, ignore_errors=True)
