"""Whole runs of lumivex.exe as a user meets them: started as its own process under Wine, driven with real keyboard
and mouse input, checked by what is on screen and by the files left on disk."""

import os
import re
import subprocess
import sys
import time

import harness
from harness import ProgramFolder, Window, check, poll, to_windows

PICTURES = None


def pictures(bed):
    global PICTURES
    if PICTURES is None or os.path.dirname(PICTURES) != bed.tmp:  # made once for each test bed
        PICTURES = os.path.join(bed.tmp, 'pic')
        subprocess.run([sys.executable, os.path.join(harness.ROOT, 'scripts', 'make_demo_pictures.py'), PICTURES],
                       check=True)
    return PICTURES


def normal_settings(picture, **option):
    settings = {
        'Window': {'Top': '0', 'Left': '0'},
        'option': {'splashtime': '5', 'b_size': '3', 'trans': '100', 'colo': '-2147483633',
                   'bcol': '-2147483633', 'fcol': '0', 'winpos': '0', 'fsiz': '12', 'lbltrans': '0', 'name': ''},
        'message': {'message': 'しばらくお待ち下さい'},
        'pic': {'picture': to_windows(picture) if picture else ''},
    }
    settings['option'].update({k: str(v) for k, v in option.items()})
    return settings


def control(bed, window_title, text, klass=None):
    for c in bed.children(window_title):
        if c.title == text and (klass is None or c.klass.lower() == klass.lower()):
            return c
    raise harness.Failure(f'no control "{text}" in "{window_title}"')


def click_control(bed, window_title, text, repeat=1):
    c = control(bed, window_title, text)
    bed.click(c.left + c.width // 2, c.top + c.height // 2, repeat)


def message_box(bed, timeout=10.0):
    """The visible message box of the program (caption "Lumivex") and its text."""
    box = bed.wait_window('Lumivex', timeout)
    texts = [c.title for c in bed.children('Lumivex') if c.klass.lower() == 'static' and c.title]
    return box, '\n'.join(texts)


def close_program(bed, pid):
    if bed.wait_exit(pid, 0) == 'running':
        bed.kill(pid)
        bed.wait_exit(pid, 5)


def shows_picture_and_ends(bed, exe, what):
    """Starts the program, which shows the 480 x 270 sample picture and ends after its display time."""
    pid = bed.launch(exe)
    try:
        splash = bed.wait_window('splash', pid=pid)
        check((splash.width, splash.height) == (480, 270), what)
        check(bed.wait_exit(pid, 10).startswith('exited'), 'and the program ends')
    finally:
        close_program(bed, pid)


def choose_file(bed, path):
    """Types a path into the real file chooser and confirms it."""
    bed.wait_window('画像を選択して下さい')
    time.sleep(0.3)
    bed.key('ctrl+a')
    bed.type(to_windows(path))
    bed.key('Return')
    bed.wait_gone('画像を選択して下さい')


# ---------------------------------------------------------------- journeys

def first_run_completes_setup(bed):
    prog = ProgramFolder(bed, messages=False)
    pid = bed.launch(prog.exe)
    try:
        _, text = message_box(bed)
        check('メッセージファイルが見つかりません' in text, f'missing message list notice, got {text!r}')
        bed.key('Return')
        option = bed.wait_window('Option', pid=pid)
        expected = ''.join(line + '\r\n' for line in ProgramFolder.DEFAULT_MESSAGES).encode('cp932')
        check(open(prog.file('mes.txt'), 'rb').read() == expected, 'mes.txt is created with the four lines')
        check(bed.window('splash', pid) is None, 'the splash window must not be shown in first-run mode')
        buttons = {c.title: c for c in bed.children('Option') if c.klass.lower() == 'button'}
        check(buttons['設定完了'].visible, '"設定完了" is shown')
        for hidden in ('OK', 'Close', 'Default'):
            check(not buttons[hidden].visible, f'"{hidden}" is hidden in first-run mode')
        check(option.width > 500, 'the option dialog has its size')

        click_control(bed, 'Option', '選択')
        choose_file(bed, os.path.join(pictures(bed), 'lumivex-logo.jpg'))
        poll('file name in the dialog', lambda: any(c.title == 'lumivex-logo.jpg' for c in bed.children('Option')))

        click_control(bed, 'Option', '設定完了')
        _, text = message_box(bed)
        check('初回の設定が完了しました。' in text, f'completion notice, got {text!r}')
        bed.key('Return')
        check(bed.wait_exit(pid, 10).startswith('exited'), 'the program ends after the setup')
        ini = prog.read_ini()
        for key in ('Top', 'Left', 'splashtime', 'b_size', 'trans', 'colo', 'bcol', 'fcol', 'winpos', 'fsiz',
                    'lbltrans', 'message', 'picture', 'name', 'fadein', 'fadeout'):
            check(f'\n{key}=' in '\n' + ini.replace('\r', ''), f'settings file holds "{key}"')
        check('lumivex-logo.jpg' in ini, 'the chosen picture is saved')
    finally:
        close_program(bed, pid)


def first_run_abandoned_with_close_box(bed):
    prog = ProgramFolder(bed)
    pid = bed.launch(prog.exe)
    try:
        bed.wait_window('Option', pid=pid)
        bed.key('alt+F4')
        check(bed.wait_exit(pid, 10).startswith('exited'), 'closing the first-run dialog ends the program')
        check(not os.path.exists(prog.ini), 'no settings file is written')
    finally:
        close_program(bed, pid)


def normal_run_shows_picture_and_ends(bed, seconds):
    prog = ProgramFolder(bed)
    picture = os.path.join(pictures(bed), 'lumivex-logo.bmp')
    prog.write_ini(normal_settings(picture, splashtime=seconds, b_size=0))
    before = open(prog.ini, 'rb').read()
    started = time.monotonic()
    pid = bed.launch(prog.exe)
    try:
        splash = bed.wait_window('splash', pid=pid)
        check((splash.width, splash.height) == (480, 270), f'window of the picture size, got {splash.rect}')
        check((splash.left, splash.top) == ((1024 // 2) - 240, (768 // 2) - 135), f'centred, got {splash.rect}')
        check(splash.topmost, 'the splash window stays on top')
        # A recognisable pixel of the picture: the sun's centre is bright yellow-white.
        poll('the picture on screen', lambda: int(bed.pixel(splash.left + 135, splash.top + 100)[:2], 16) > 0xE0, 10)
        result = bed.wait_exit(pid, seconds + 10)
        elapsed = time.monotonic() - started
        check(result.startswith('exited'), 'the program ends by itself')
        check(elapsed >= seconds - 0.2, f'shown for the display time ({elapsed:.2f} s for {seconds} s)')
        check(open(prog.ini, 'rb').read() == before, 'the settings file is left byte-identical')
    finally:
        close_program(bed, pid)


def escape_ends_early(bed):
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(pictures(bed), 'lumivex-logo.jpg'), splashtime=60))
    pid = bed.launch(prog.exe)
    try:
        bed.wait_window('splash', pid=pid)
        time.sleep(0.3)
        bed.key('shift+Escape')
        check(bed.wait_exit(pid, 10).startswith('exited'), 'Shift+Esc closes the splash and ends the program')
    finally:
        close_program(bed, pid)


def f1_and_double_click_open_options_and_ok_saves(bed):
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(pictures(bed), 'lumivex-logo.bmp'), splashtime=2))
    pid = bed.launch(prog.exe)
    try:
        splash = bed.wait_window('splash', pid=pid)
        time.sleep(0.2)
        bed.key('F1')
        bed.wait_window('Option', pid=pid)
        time.sleep(2.5)
        check(bed.window('splash', pid) is not None, 'the countdown is stopped while the options are open')
        # The close box leaves the countdown stopped: the splash stays until opened again.
        bed.key('alt+F4')
        bed.wait_gone('Option', pid=pid)
        time.sleep(2.5)
        check(bed.window('splash', pid) is not None, 'after the close box the splash stays')
        # A double-click on the picture opens the options again; a new window colour previews at once.
        bed.click(splash.left + 40, splash.top + 40, repeat=2)
        bed.wait_window('Option', pid=pid)
        swatch = [c for c in bed.children('Option') if c.klass.lower() == 'static' and c.width == 45][0]
        bed.click(swatch.left + 10, swatch.top + 10)
        bed.wait_window('色', pid=pid)
        # The chooser opens with black (nothing confirmed yet); Enter confirms it and the frame turns black.
        bed.key('Return')
        bed.wait_gone('色', pid=pid)
        click_control(bed, 'Option', 'OK')
        bed.wait_gone('Option', pid=pid)
        started = time.monotonic()
        # The option dialog covered the splash; now its frame shows the colour previewed when it was chosen.
        poll('the new window colour on the splash frame', lambda: bed.pixel(splash.left + 1, splash.top + 1) == '000000', 1.5)
        check(bed.wait_exit(pid, 10).startswith('exited'), 'the splash ends one display time after OK')
        check(time.monotonic() - started >= 1.5, 'the countdown restarted at its full length')
        check('colo=0\r\n' in prog.read_ini(), 'the window colour was saved')
    finally:
        close_program(bed, pid)


def missing_picture_then_choose_one(bed):
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(bed.tmp, 'gone.bmp'), splashtime=1))
    pid = bed.launch(prog.exe)
    try:
        _, text = message_box(bed)
        check('画像ファイルが見つかりませんでした' in text, f'missing-picture notice, got {text!r}')
        bed.key('Return')
        bed.wait_window('Option', pid=pid)
        click_control(bed, 'Option', '選択')
        choose_file(bed, os.path.join(pictures(bed), 'lumivex-logo.bmp'))
        click_control(bed, 'Option', 'OK')
        check(bed.wait_exit(pid, 10).startswith('exited'), 'the program ends one display time after OK')
    finally:
        close_program(bed, pid)
    shows_picture_and_ends(bed, prog.exe, 'the next start shows the chosen picture')


def corrupt_picture_reports_and_opens_options(bed):
    prog = ProgramFolder(bed)
    bad = prog.file('broken.jpg')
    with open(bad, 'wb') as f:
        f.write(b'\xff\xd8\xff\xe0 this is not a JPEG')
    prog.write_ini(normal_settings(bad, splashtime=1))
    pid = bed.launch(prog.exe)
    try:
        _, text = message_box(bed)
        check(text.startswith('JPEG エラー #') and text.endswith('.'), f'JPEG error box, got {text!r}')
        bed.key('Return')
        bed.wait_window('Option', pid=pid)
        time.sleep(1.5)
        check(bed.wait_exit(pid, 0) == 'running', 'the countdown does not end the program behind the options')
        bed.key('Escape')
        check(bed.wait_exit(pid, 10).startswith('exited'), 'Close restarts the countdown, which ends the program')
    finally:
        close_program(bed, pid)


def position_dialog_drag_places_next_start(bed):
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(pictures(bed), 'lumivex-logo.bmp'), splashtime=3, winpos=1))
    pid = bed.launch(prog.exe)
    try:
        bed.wait_window('splash', pid=pid)
        bed.key('F1')
        bed.wait_window('Option', pid=pid)
        click_control(bed, 'Option', '位置設定')
        frame = bed.wait_window('ポジション設定', pid=pid)
        check((frame.left, frame.top, frame.width, frame.height) == (0, 0, 480, 270), f'over the splash: {frame.rect}')
        bed.drag(frame.left + 300, frame.top + 40, frame.left + 400, frame.top + 140)
        moved = poll('the frame to move', lambda: (lambda w: w if w and (w.left, w.top) == (100, 100) else None)(
            bed.window('ポジション設定', pid)), 5)
        click_control(bed, 'ポジション設定', 'OK')
        bed.wait_gone('ポジション設定', pid=pid)
        splash = bed.window('splash', pid)
        check((splash.left, splash.top) == (moved.left, moved.top), 'OK moves the splash window there')
        click_control(bed, 'Option', 'OK')
        check(bed.wait_exit(pid, 10).startswith('exited'), 'ends after OK')
    finally:
        close_program(bed, pid)
    pid = bed.launch(prog.exe)
    try:
        splash = bed.wait_window('splash', pid=pid)
        check((splash.left, splash.top) == (100, 100), f'the next start places the splash there: {splash.rect}')
    finally:
        close_program(bed, pid)


def registration_and_about(bed):
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(pictures(bed), 'lumivex-logo.bmp'), splashtime=3))
    startup = os.path.join(bed.prefix, 'drive_c', 'users', os.environ.get('USER', 'root'), 'AppData', 'Roaming',
                           'Microsoft', 'Windows', 'Start Menu', 'Programs', 'StartUp')
    pid = bed.launch(prog.exe)
    try:
        bed.wait_window('splash', pid=pid)
        bed.key('F1')
        bed.wait_window('Option', pid=pid)
        name = [c for c in bed.children('Option') if c.klass.lower() == 'edit' and c.width == 169][0]
        bed.click(name.left + 20, name.top + 8)
        bed.type('Tanaka')
        click_control(bed, 'Option', 'About')
        bed.wait_window('About', pid=pid)
        memo = [c for c in bed.children('About') if c.klass.lower() == 'edit'][0]
        check(memo.title.endswith('利用者 Tanaka\\r\\n\\r\\n'), f'the About box shows the typed name: {memo.title!r}')
        bed.key('Return')
        bed.wait_gone('About', pid=pid)
        click_control(bed, 'Option', 'スタートアップに登録')
        bed.wait_window('登録しますか？', pid=pid)
        bed.key('Return')
        bed.wait_gone('登録しますか？', pid=pid)
        shortcut = os.path.join(startup, 'lumivex.lnk')
        poll('the shortcut', lambda: os.path.exists(shortcut), 5)
        os.remove(shortcut)
    finally:
        close_program(bed, pid)


def started_minimized_ends_after_one_second(bed):
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(pictures(bed), 'lumivex-logo.bmp'), splashtime=30))
    started = time.monotonic()
    pid = bed.launch(prog.exe, show=7)
    try:
        check(bed.wait_exit(pid, 10).startswith('exited'), 'the hidden splash closes after its design second')
        check(bed.window('splash', pid) is None, 'the splash was never shown')
        check(time.monotonic() - started < 8, 'it ended after about a second, not the display time')
    finally:
        close_program(bed, pid)


def started_maximized_takes_the_settings_state(bed):
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(pictures(bed), 'lumivex-logo.bmp'), splashtime=2))
    pid = bed.launch(prog.exe, show=3)
    try:
        splash = bed.wait_window('splash', pid=pid)
        check(splash.values.get('maximized') == '0', 'Maxmize false: the splash is shown in its normal state')
        check((splash.width, splash.height) == (480, 270), 'at the picture size')
        check(bed.wait_exit(pid, 10).startswith('exited'), 'and ends')
    finally:
        close_program(bed, pid)


def release_zip_runs_from_a_japanese_folder_with_spaces(bed):
    out = os.path.join(bed.tmp, 'dist')
    zip_path = subprocess.run([os.path.join(harness.ROOT, 'scripts', 'make-dist'), out], check=True,
                              capture_output=True, text=True).stdout.splitlines()[0]
    target = os.path.join(bed.tmp, 'ロゴ 表示 %s.a.b')
    os.makedirs(target)
    subprocess.run(['unzip', '-q', zip_path, '-d', target], check=True)
    with open(os.path.join(harness.BUILD, 'generated', 'version.txt')) as f:
        folder = os.path.join(target, 'Lumivex-' + f.read().strip())
    exe = os.path.join(folder, 'lumivex.exe')
    with open(os.path.join(folder, 'THIRD-PARTY-NOTICES.txt'), encoding='utf-8-sig') as f:
        notices = f.read()
    check(os.path.isfile(os.path.join(folder, 'LICENSE.txt'))
          and all(name in notices for name in ('Independent JPEG Group', 'libspng', 'Jean-loup Gailly')),
          'the zip holds the licence and the notices of the libraries inside the executable')
    with open(os.path.join(folder, 'lumivex.ini'), 'wb') as f:
        f.write(''.join(f'[{sec}]\r\n' + ''.join(f'{k}={v}\r\n' for k, v in keys.items())
                        for sec, keys in normal_settings(os.path.join(folder, 'pic', 'lumivex-logo.jpg'),
                                                         splashtime=1).items()).encode('cp932'))
    shows_picture_and_ends(bed, exe, 'the sample JPEG is shown')


def objdump(option):
    return subprocess.run(['x86_64-w64-mingw32-objdump', option, os.path.join(harness.BUILD, 'lumivex.exe')],
                          check=True, capture_output=True, text=True).stdout


def executable_is_static_and_protected(bed):
    """The built executable as objdump reads it: system imports only, and the protections the linker gives it."""
    del bed
    dump = objdump('-p')
    dlls = sorted({line.split(':', 1)[1].strip().lower() for line in dump.splitlines() if 'DLL Name:' in line})
    system = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'comctl32.dll', 'comdlg32.dll', 'ole32.dll',
              'shell32.dll', 'msvcrt.dll', 'advapi32.dll', 'msimg32.dll', 'oleaut32.dll'}
    unexpected = [d for d in dlls if d not in system]
    check(not unexpected, f'only system DLLs are imported; also imports {unexpected}')
    check('Subsystem\t\t00000002' in dump, 'a GUI executable')

    # ASLR with 64-bit entropy and DEP; the relocations must be kept, or the loader cannot move the image at all.
    found = re.search(r'^DllCharacteristics\s+([0-9a-fA-F]+)', dump, re.M)
    characteristics = int(found.group(1), 16) if found else 0
    wanted = {'HIGH_ENTROPY_VA': 0x20, 'DYNAMIC_BASE': 0x40, 'NX_COMPAT': 0x100}
    missing = [name for name, bit in wanted.items() if not characteristics & bit]
    check(not missing, f'DllCharacteristics {characteristics:#06x} lacks {missing}')
    check('relocations stripped' not in dump and 'Base Relocation Directory [.reloc]' in dump,
          'the base relocations are kept')

    # objdump -h: a section name on one line, its flags on the next; READONLY missing means writable.
    lines = objdump('-h').splitlines()
    sections = [(lines[i].split()[1], lines[i + 1]) for i in range(len(lines) - 1)
                if re.match(r'\s*\d+\s+\S+\s+[0-9a-f]{8}\s', lines[i])]
    check(len(sections) >= 3, f'objdump lists the sections: {sections}')
    writable_code = [name for name, flags in sections if 'CODE' in flags and 'READONLY' not in flags]
    check(not writable_code, f'no section is both writable and executable: {writable_code}')


def startup_folder(bed):
    return os.path.join(bed.prefix, 'drive_c', 'users', os.environ.get('USER', 'root'), 'AppData', 'Roaming',
                        'Microsoft', 'Windows', 'Start Menu', 'Programs', 'StartUp')


def logon_tasks(bed, stem='lumivex'):
    """The names of the program's logon tasks the Task Scheduler keeps (Wine keeps them as files)."""
    folder = os.path.join(bed.prefix, 'drive_c', 'windows', 'system32', 'tasks')
    return sorted(n for n in os.listdir(folder) if n.startswith(stem + '-')) if os.path.isdir(folder) else []


def registrations(bed):
    """What is registered to start lumivex.exe at logon: 'shortcut', 'task' or both."""
    found = []
    if os.path.exists(os.path.join(startup_folder(bed), 'lumivex.lnk')):
        found.append('shortcut')
    if [n for n in logon_tasks(bed) if not n.endswith('-AllUsers')]:
        found.append('task')
    return found


def register_from_the_dialog(bed, pid, logon_task=None, unregister=False):
    click_control(bed, 'Option', 'スタートアップに登録')
    bed.wait_window('登録しますか？', pid=pid)
    if logon_task:
        click_control(bed, '登録しますか？', 'ログオン直後に表示する（タスク）')
    if unregister:
        click_control(bed, '登録しますか？', '登録を解除する')
    else:
        bed.key('Return')
    bed.wait_gone('登録しますか？', pid=pid)


def logon_task_and_command_line(bed):
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(pictures(bed), 'lumivex-logo.bmp'), splashtime=3))
    pid = bed.launch(prog.exe)
    try:
        bed.wait_window('splash', pid=pid)
        bed.key('F1')
        bed.wait_window('Option', pid=pid)
        register_from_the_dialog(bed, pid)
        poll('the shortcut', lambda: registrations(bed) == ['shortcut'], 5)
        register_from_the_dialog(bed, pid, logon_task=True)
        poll('the task instead of the shortcut', lambda: registrations(bed) == ['task'], 5)
        task = os.path.join(bed.prefix, 'drive_c', 'windows', 'system32', 'tasks', logon_tasks(bed)[0])
        with open(task, 'rb') as f:
            stored = f.read().decode('utf-8-sig')
        check('<Priority>4</Priority>' in stored, f'the task keeps its priority: {stored}')
        register_from_the_dialog(bed, pid, unregister=True)
        poll('nothing registered', lambda: registrations(bed) == [], 5)
    finally:
        close_program(bed, pid)

    steps = [(('/register', 'startup'), 0, ['shortcut']),
             (('-REGISTER', 'Task'), 0, ['task']),
             (('/register', 'startup'), 0, ['shortcut']),
             (('/unregister',), 0, [])]
    for arguments, code, registered in steps:
        check(bed.run_program(prog.exe, *arguments) == code, f'{arguments} ends with {code}')
        check(registrations(bed) == registered, f'after {arguments}: {registrations(bed)}')
    check(bed.window('splash') is None and bed.window('Option') is None, 'the command line shows no window')

    # A Task Scheduler the system refuses (here: its library missing) fails the task and keeps the shortcut.
    check(bed.run_program(prog.exe, '/register', 'startup') == 0, 'the shortcut registered')
    check(bed.run_program(prog.exe, '/register', 'task', without=['taskschd']) == 1,
          'no Task Scheduler: the task fails with exit code 1')
    check(registrations(bed) == ['shortcut'], f'the earlier registration stays: {registrations(bed)}')
    check(bed.run_program(prog.exe, '/unregister') == 0 and registrations(bed) == [], 'unregistered')

    # Every user's task (Wine's user holds administrator rights).
    check(bed.run_program(prog.exe, '/register', 'task', '/allusers') == 0, 'the task for every user')
    check(logon_tasks(bed) == ['lumivex-AllUsers'], f'one task for every user: {logon_tasks(bed)}')
    common = os.path.join(bed.prefix, 'drive_c', 'ProgramData', 'Microsoft', 'Windows', 'Start Menu', 'Programs',
                          'StartUp', 'lumivex.lnk')
    check(bed.run_program(prog.exe, '/register', 'startup', '/allusers') == 0 and os.path.exists(common),
          'the shortcut in the all-users Startup folder')
    check(logon_tasks(bed) == [] and registrations(bed) == [], 'it replaces every user\'s task; the user\'s own stay')
    check(bed.run_program(prog.exe, '/unregister', '/allusers') == 0 and not os.path.exists(common),
          'every user\'s registration removed')

    for arguments in (('/register',), ('/install',), ('/register', 'task', 'extra')):
        pid = bed.launch(prog.exe, arguments=' '.join(arguments))
        try:
            _, text = message_box(bed)
            check('/register task' in text and '/unregister' in text, f'the usage for {arguments}: {text!r}')
            bed.key('Return')
            check(bed.wait_exit(pid, 10) == 'exited 2', f'{arguments} ends with exit code 2')
        finally:
            close_program(bed, pid)


def foreground_of(bed, pid):
    """The foreground window when it belongs to process pid, else None."""
    line = bed.ask('foreground')
    window = None if line == 'none' else Window(line)
    return window if window and window.pid == pid else None


def polite_at_logon_and_one_instance(bed):
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(pictures(bed), 'lumivex-logo.bmp'), splashtime=4))
    notepad = bed.launch(os.path.join(bed.prefix, 'drive_c', 'windows', 'notepad.exe'))
    try:
        front = poll('notepad in front', lambda: foreground_of(bed, notepad), 10)
        pid = bed.launch(prog.exe)
        try:
            typed = 'theuseriskeepsontyping'
            bed.type(typed)
            splash = bed.wait_window('splash', pid=pid)
            bed.type(typed)
            check(foreground_of(bed, notepad), f'the splash shows without taking the keyboard: {bed.ask("foreground")}')
            edits = [c for c in bed.children(front.title) if c.klass.lower() == 'edit']
            check(edits and edits[0].title == typed * 2, f'no key lost: {edits[0].title if edits else None!r}')
            check(splash.topmost, 'the splash stays topmost')

            second = bed.launch(prog.exe)
            check(bed.wait_exit(second, 10) == 'exited 0', 'a second start ends at once')
            check(len([w for w in bed.windows('splash') if w.visible]) == 1, 'one splash')

            bed.click(splash.left + splash.width // 2, splash.top + splash.height // 2)
            poll('the clicked splash active', lambda: foreground_of(bed, pid), 5)
            bed.key('Escape')
            check(bed.wait_exit(pid, 5).startswith('exited'), 'Esc works once the user clicks the splash')
        finally:
            close_program(bed, pid)
    finally:
        close_program(bed, notepad)


JOURNEYS = [
    ('FirstRunCompletesSetup', first_run_completes_setup),
    ('FirstRunAbandonedWithCloseBox', first_run_abandoned_with_close_box),
    ('NormalRunOneSecond', lambda bed: normal_run_shows_picture_and_ends(bed, 1)),
    ('NormalRunThreeSeconds', lambda bed: normal_run_shows_picture_and_ends(bed, 3)),
    ('EscapeEndsEarly', escape_ends_early),
    ('OptionsFromSplashAndOkSaves', f1_and_double_click_open_options_and_ok_saves),
    ('MissingPictureThenChooseOne', missing_picture_then_choose_one),
    ('CorruptPictureReportsAndOpensOptions', corrupt_picture_reports_and_opens_options),
    ('PositionDialogDragPlacesNextStart', position_dialog_drag_places_next_start),
    ('RegistrationAndAbout', registration_and_about),
    ('LogonTaskAndCommandLine', logon_task_and_command_line),
    ('PoliteAtLogonAndOneInstance', polite_at_logon_and_one_instance),
    ('StartedMinimized', started_minimized_ends_after_one_second),
    ('StartedMaximized', started_maximized_takes_the_settings_state),
    ('ReleaseZipRunsFromAJapaneseFolderWithSpaces', release_zip_runs_from_a_japanese_folder_with_spaces),
    ('ExecutableIsStaticAndProtected', executable_is_static_and_protected),
]

def scaled(design, dpi):
    return design * dpi // 96


def windows_at_the_screens_scale(bed):
    """At a dpi other than 96 every window is its design size at the screen's scale, and the splash and the
    position dialog's frame are the picture's size."""
    dpi = bed.dpi
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(os.path.join(pictures(bed), 'lumivex-logo.bmp'), splashtime=60, winpos=1))
    pid = bed.launch(prog.exe)
    try:
        splash = bed.wait_window('splash', pid=pid)
        check((splash.width, splash.height) == (480, 270), f'the splash is the picture\'s size: {splash.rect}')
        bed.key('F1')
        option = bed.wait_window('Option', pid=pid)
        check(option.client == (scaled(532, dpi), scaled(357, dpi)), f'option dialog client area {option.client}')
        buttons = [c for c in bed.children('Option') if c.klass.lower() == 'button' and c.title in
                   ('OK', 'Close', 'Default', 'About', '選択', '位置設定', 'スタートアップに登録')]
        check(len(buttons) == 7, f'the seven buttons: {[b.title for b in buttons]}')
        for b in buttons:
            check(abs(b.height - scaled(25, dpi)) <= 1, f'button {b.title} is {b.height} pixels high')
        click_control(bed, 'Option', '位置設定')
        frame = bed.wait_window('ポジション設定', pid=pid)
        check((frame.width, frame.height) == (480, 270), f'the position frame is the splash\'s size: {frame.rect}')
        bed.key('Escape')
        bed.wait_gone('ポジション設定', pid=pid)
        click_control(bed, 'Option', 'About')
        about = bed.wait_window('About', pid=pid)
        check(about.client == (scaled(505, dpi), scaled(321, dpi)), f'About client area {about.client}')
        bed.key('Return')
        bed.wait_gone('About', pid=pid)
        click_control(bed, 'Option', 'スタートアップに登録')
        registration = bed.wait_window('登録しますか？', pid=pid)
        check(registration.client == (scaled(234, dpi), scaled(146, dpi)),
              f'registration client area {registration.client}')
        bed.key('Escape')
        bed.wait_gone('登録しますか？', pid=pid)
    finally:
        close_program(bed, pid)


# Run at another dpi than 96 (ctest runs them at 144: journeys-144dpi).
SCALED_JOURNEYS = [
    ('WindowsAtTheScreensScale', windows_at_the_screens_scale),
]


def picture_400x300(bed):
    path = os.path.join(pictures(bed), 'logo-400x300.bmp')
    if not os.path.exists(path):
        subprocess.run(['convert', os.path.join(pictures(bed), 'lumivex-logo.bmp'), '-resize', '400x300!',
                        '-type', 'TrueColor', 'BMP3:' + path], check=True)
    return path


def centred_on_the_primary_monitor_in_both_arrangements(bed):
    """The second monitor right of the primary, then left of it (the virtual screen from x = -1024): the splash
    and the option dialog are centred on the primary monitor, wherever the virtual screen's middle is."""
    for layout in ('right', 'left'):
        bed.arrange(layout)
        prog = ProgramFolder(bed)
        prog.write_ini(normal_settings(picture_400x300(bed), splashtime=60))
        pid = bed.launch(prog.exe)
        try:
            splash = bed.wait_window('splash', pid=pid)
            check(splash.rect == (312, 234, 712, 534), f'{layout}: the splash is centred on the primary: {splash.rect}')
            poll(f'{layout}: the picture on screen',  # the sun's centre is bright yellow-white
                 lambda: int(bed.pixel(splash.left + 112, splash.top + 110)[:2], 16) > 0xE0, 10)
            bed.point_at(splash)
            bed.key('F1')
            option = bed.wait_window('Option', pid=pid)
            check((option.left, option.top) == ((1024 - option.width) // 2, (768 - option.height) // 2),
                  f'{layout}: the option dialog is centred on the primary: {option.rect}')
        finally:
            close_program(bed, pid)


def place_on_an_unplugged_monitor(bed):
    """The logo dragged onto the monitor left of the primary (negative coordinates) and saved. That monitor is
    unplugged while the logo shows there: it moves wholly onto the primary, and so does it at the next start; the
    settings file keeps the saved place throughout."""
    bed.arrange('left')
    prog = ProgramFolder(bed)
    prog.write_ini(normal_settings(picture_400x300(bed), splashtime=60, winpos=1))
    pid = bed.launch(prog.exe)
    try:
        bed.point_at(bed.wait_window('splash', pid=pid))
        bed.key('F1')
        bed.wait_window('Option', pid=pid)
        click_control(bed, 'Option', '位置設定')
        frame = bed.wait_window('ポジション設定', pid=pid)
        bed.drag(frame.left + 300, frame.top + 40, frame.left - 400, frame.top + 140)
        poll('the frame on the second monitor', lambda: (lambda w: w and (w.left, w.top) == (-700, 100))(
            bed.window('ポジション設定', pid)), 5)
        click_control(bed, 'ポジション設定', 'OK')
        bed.wait_gone('ポジション設定', pid=pid)
        splash = bed.window('splash', pid)
        check((splash.left, splash.top) == (-700, 100), f'OK moves the splash onto the second monitor: {splash.rect}')
        click_control(bed, 'Option', 'OK')
        poll('the place saved', lambda: 'Top=100\r\n' in prog.read_ini() and 'Left=-700\r\n' in prog.read_ini(), 5)
        saved = open(prog.ini, 'rb').read()

        bed.arrange('one')
        bed.ask('display-changed')
        poll('the splash moved wholly onto the primary',
             lambda: bed.window('splash', pid).rect == (0, 100, 400, 400), 5)
    finally:
        close_program(bed, pid)

    pid = bed.launch(prog.exe)
    try:
        splash = bed.wait_window('splash', pid=pid)
        check(splash.rect == (0, 100, 400, 400), f'the next start shows it wholly on the primary: {splash.rect}')
        poll('the picture on screen', lambda: int(bed.pixel(112, 210)[:2], 16) > 0xE0, 10)
    finally:
        close_program(bed, pid)
    check(open(prog.ini, 'rb').read() == saved, 'showing it elsewhere leaves the settings file as it was')


# Run on two monitors (ctest runs them with --monitors: journeys-monitors): the bed starts with the second on the right.
MONITOR_JOURNEYS = [
    ('CentredOnThePrimaryMonitorInBothArrangements', centred_on_the_primary_monitor_in_both_arrangements),
    ('PlaceOnAnUnpluggedMonitor', place_on_an_unplugged_monitor),
]


if __name__ == '__main__':
    args = sys.argv[1:]
    if args[:1] == ['--dpi']:
        sys.exit(harness.run(SCALED_JOURNEYS, dpi=int(args[1])))
    if args[:1] == ['--monitors']:
        only = args[1:]
        sys.exit(harness.run([(n, f) for n, f in MONITOR_JOURNEYS if not only or n in only], monitors='right'))
    only = args
    sys.exit(harness.run([(n, f) for n, f in JOURNEYS if not only or n in only]))
