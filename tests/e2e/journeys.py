"""Whole runs of lumivex.exe as a user meets them: started as its own process under Wine, driven with real keyboard
and mouse input, checked by what is on screen and by the files left on disk."""

import os
import re
import subprocess
import sys
import time
from pathlib import Path

import harness
from harness import ProgramFolder, check, holds, normal_settings, poll


def sun_on_screen(bed, x, y, what='the picture on screen'):
    """Waits for the sample logo's sun, bright yellow-white at its centre, at the screen point x, y."""
    poll(what, lambda: int(bed.pixel(x, y)[:2], 16) > 0xE0, 10)


def choose_file(bed, pid, path):
    """Types a path into the real file chooser, once it has the keyboard, and confirms it."""
    bed.wait_window('画像を選択して下さい', pid=pid)
    poll('the file name box to have the keyboard', lambda: (lambda w: w and w.klass == 'edit')(bed.foreground(pid)), 5)
    bed.key('ctrl+a')
    bed.type(harness.to_windows(path))
    bed.key('Return')
    bed.wait_gone('画像を選択して下さい')


def place_with_the_position_dialog(bed, pid, to):
    """Opens the position dialog from the options, drags its frame by a point near its top right until its corner
    is at `to` and confirms: the splash moves there. Returns the frame as it opened."""
    frame = bed.open_dialog(pid, '位置設定', 'ポジション設定')
    bed.drag(frame.left + 300, frame.top + 40, to[0] + 300, to[1] + 40)
    poll(f'the frame to move to {to}', lambda: (lambda w: w and (w.left, w.top) == to)(bed.window('ポジション設定', pid)), 5)
    bed.click_control('ポジション設定', 'OK')
    bed.wait_gone('ポジション設定', pid=pid)
    splash = bed.window('splash', pid)
    check((splash.left, splash.top) == to, f'OK moves the splash window there: {splash.rect}')
    return frame


# ---------------------------------------------------------------- journeys

def first_run_completes_setup(bed):
    prog = ProgramFolder(bed, messages=False)
    with bed.running(prog.exe) as pid:
        text = bed.answer_message_box()
        check('メッセージファイルが見つかりません' in text, f'missing message list notice, got {text!r}')
        option = bed.wait_window('Option', pid=pid)
        check(open(prog.file('mes.txt'), 'rb').read() == ProgramFolder.MESSAGES_FILE,
              'mes.txt is created with the four lines')
        check(bed.window('splash', pid) is None, 'the splash window must not be shown in first-run mode')
        buttons = {c.title: c for c in bed.children('Option') if c.klass == 'button'}
        check(buttons['設定完了'].visible, '"設定完了" is shown')
        for hidden in ('OK', 'Close', 'Default'):
            check(not buttons[hidden].visible, f'"{hidden}" is hidden in first-run mode')
        check(option.width > 500, 'the option dialog has its size')

        bed.click_control('Option', '選択')
        choose_file(bed, pid, bed.picture('lumivex-logo.jpg'))
        poll('file name in the dialog', lambda: any(c.title == 'lumivex-logo.jpg' for c in bed.children('Option')))

        bed.click_control('Option', '設定完了')
        text = bed.answer_message_box()
        check('初回の設定が完了しました。' in text, f'completion notice, got {text!r}')
        bed.ends(pid, 'the program ends after the setup')
        ini = prog.read_ini()
        for key in ('Top', 'Left', 'splashtime', 'b_size', 'trans', 'colo', 'bcol', 'fcol', 'winpos', 'fsiz',
                    'lbltrans', 'message', 'picture', 'name', 'fadein', 'fadeout'):
            check(f'\n{key}=' in '\n' + ini.replace('\r', ''), f'settings file holds "{key}"')
        check('lumivex-logo.jpg' in ini, 'the chosen picture is saved')


def first_run_abandoned_with_close_box(bed):
    prog = ProgramFolder(bed)
    with bed.running(prog.exe) as pid:
        bed.wait_window('Option', pid=pid)
        bed.key('alt+F4')
        bed.ends(pid, 'closing the first-run dialog ends the program')
        check(not os.path.exists(prog.ini), 'no settings file is written')


def normal_run_shows_picture_and_ends(bed):
    seconds = 3
    prog = ProgramFolder(bed, 'lumivex-logo.bmp', splashtime=seconds, b_size=0)
    before = open(prog.ini, 'rb').read()
    started = time.monotonic()
    with bed.running(prog.exe) as pid:
        splash = bed.wait_window('splash', pid=pid)
        check((splash.width, splash.height) == (480, 270), f'window of the picture size, got {splash.rect}')
        check((splash.left, splash.top) == ((1024 // 2) - 240, (768 // 2) - 135), f'centred, got {splash.rect}')
        check(splash.topmost, 'the splash window stays on top')
        sun_on_screen(bed, splash.left + 135, splash.top + 100)
        bed.ends(pid, 'the program ends by itself', seconds + 10)
        elapsed = time.monotonic() - started
        check(elapsed >= seconds - 0.2, f'shown for the display time ({elapsed:.2f} s for {seconds} s)')
        check(open(prog.ini, 'rb').read() == before, 'the settings file is left byte-identical')


def f1_and_double_click_open_options_and_ok_saves(bed):
    prog = ProgramFolder(bed, 'lumivex-logo.bmp', splashtime=2)
    with bed.running(prog.exe) as pid:
        splash = bed.wait_window('splash', pid=pid)
        bed.options_from_splash(pid)
        holds('the countdown is stopped while the options are open', lambda: bed.window('splash', pid), 2.5)
        # The close box leaves the countdown stopped: the splash stays until opened again.
        bed.key('alt+F4')
        bed.wait_gone('Option', pid=pid)
        holds('after the close box the splash stays', lambda: bed.window('splash', pid), 2.5)
        # A double-click on the picture opens the options again; a new window colour previews at once.
        bed.click(splash.left + 40, splash.top + 40, repeat=2)
        bed.wait_window('Option', pid=pid)
        swatch = bed.control('Option', klass='static', width=45)
        bed.click(swatch.left + 10, swatch.top + 10)
        bed.wait_window('色', pid=pid)
        # The chooser opens with black (nothing confirmed yet); Enter confirms it and the frame turns black.
        bed.dismiss(pid, '色')
        started = time.monotonic()
        bed.click_control('Option', 'OK')
        bed.wait_gone('Option', pid=pid)
        # The option dialog covered the splash; now its frame shows the colour previewed when it was chosen.
        poll('the new window colour on the splash frame', lambda: bed.pixel(splash.left + 1, splash.top + 1) == '000000', 1.5)
        bed.ends(pid, 'the splash ends one display time after OK')
        check(time.monotonic() - started >= 1.5, 'the countdown restarted at its full length')
        check('colo=0\r\n' in prog.read_ini(), 'the window colour was saved')


def missing_picture_then_choose_one(bed):
    prog = ProgramFolder(bed, os.path.join(bed.tmp, 'gone.bmp'), splashtime=1)
    with bed.running(prog.exe) as pid:
        text = bed.answer_message_box()
        check('画像ファイルが見つかりませんでした' in text, f'missing-picture notice, got {text!r}')
        bed.wait_window('Option', pid=pid)
        bed.click_control('Option', '選択')
        choose_file(bed, pid, bed.picture('lumivex-logo.bmp'))
        bed.click_control('Option', 'OK')
        bed.ends(pid, 'the program ends one display time after OK')
    bed.shows_sample_and_ends(prog.exe, 'the next start shows the chosen picture')


def corrupt_picture_reports_and_opens_options(bed):
    prog = ProgramFolder(bed)
    bad = prog.file('broken.jpg')
    Path(bad).write_bytes(b'\xff\xd8\xff\xe0 this is not a JPEG')
    prog.write_ini(normal_settings(bad, splashtime=1))
    with bed.running(prog.exe) as pid:
        text = bed.answer_message_box()
        check(text.startswith('JPEG エラー #') and text.endswith('.'), f'JPEG error box, got {text!r}')
        bed.wait_window('Option', pid=pid)
        holds('the countdown does not end the program behind the options', lambda: bed.wait_exit(pid, 0) == 'running',
              1.5)
        bed.key('Escape')
        bed.ends(pid, 'Close restarts the countdown, which ends the program')


def position_dialog_drag_places_next_start(bed):
    prog = ProgramFolder(bed, 'lumivex-logo.bmp', splashtime=3, winpos=1)
    with bed.running(prog.exe) as pid:
        bed.options_from_splash(pid)
        frame = place_with_the_position_dialog(bed, pid, (100, 100))
        check((frame.left, frame.top, frame.width, frame.height) == (0, 0, 480, 270), f'over the splash: {frame.rect}')
        bed.click_control('Option', 'OK')
        bed.ends(pid, 'ends after OK')
    with bed.running(prog.exe) as pid:
        splash = bed.wait_window('splash', pid=pid)
        check((splash.left, splash.top) == (100, 100), f'the next start places the splash there: {splash.rect}')


def about_shows_the_typed_name(bed):
    prog = ProgramFolder(bed, 'lumivex-logo.bmp', splashtime=60)
    with bed.running(prog.exe) as pid:
        bed.options_from_splash(pid)
        name = bed.control('Option', klass='edit', width=169)
        bed.click(name.left + 20, name.top + 8)
        bed.type('Tanaka')
        bed.open_dialog(pid, 'About', 'About')
        memo = bed.control('About', klass='edit')
        check(memo.title.endswith('利用者 Tanaka\\r\\n\\r\\n'), f'the About box shows the typed name: {memo.title!r}')
        bed.dismiss(pid, 'About')


def started_minimized_ends_after_one_second(bed):
    prog = ProgramFolder(bed, 'lumivex-logo.bmp', splashtime=30)
    with bed.running(prog.exe, show=7) as pid:
        def ended_unseen():
            check(bed.window('splash', pid) is None, 'the splash is never shown')
            return bed.wait_exit(pid, 0).startswith('exited')
        poll('the hidden splash to close after its design second, not its display time of 30 s', ended_unseen, 20)


def started_maximized_takes_the_settings_state(bed):
    prog = ProgramFolder(bed, 'lumivex-logo.bmp', splashtime=2)
    with bed.running(prog.exe, show=3) as pid:
        splash = bed.wait_window('splash', pid=pid)
        check(splash.values.get('maximized') == '0', 'Maxmize false: the splash is shown in its normal state')
        check((splash.width, splash.height) == (480, 270), 'at the picture size')
        bed.ends(pid, 'and ends')


def release_zip_runs_from_a_japanese_folder_with_spaces(bed):
    out = os.path.join(bed.tmp, 'dist')
    zip_path = subprocess.run([os.path.join(harness.ROOT, 'scripts', 'make-dist'), out], check=True,
                              capture_output=True, text=True).stdout.splitlines()[0]
    target = os.path.join(bed.tmp, 'ロゴ 表示 %s.a.b')
    os.makedirs(target)
    subprocess.run(['unzip', '-q', zip_path, '-d', target], check=True)
    folder = os.path.join(target, 'Lumivex-' + harness.version())
    notices = Path(folder, 'THIRD-PARTY-NOTICES.txt').read_text(encoding='utf-8-sig')
    check(os.path.isfile(os.path.join(folder, 'LICENSE.txt'))
          and all(name in notices for name in ('Independent JPEG Group', 'libspng', 'Jean-loup Gailly')),
          'the zip holds the licence and the notices of the libraries inside the executable')
    harness.write_ini(os.path.join(folder, 'lumivex.ini'),
                      normal_settings(os.path.join(folder, 'pic', 'lumivex-logo.jpg'), splashtime=1))
    bed.shows_sample_and_ends(os.path.join(folder, 'lumivex.exe'), 'the sample JPEG is shown')


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


def logon_tasks(bed, stem='lumivex'):
    """The names of the program's logon tasks the Task Scheduler keeps (Wine keeps them as files)."""
    folder = bed.drive_c('windows', 'system32', 'tasks')
    return sorted(n for n in os.listdir(folder) if n.startswith(stem + '-')) if os.path.isdir(folder) else []


def registrations(bed):
    """What is registered to start lumivex.exe at logon: the user's 'shortcut' and 'task', and every user's
    'shortcut /allusers' and 'task /allusers'."""
    tasks = logon_tasks(bed)
    found = {'shortcut': os.path.exists(os.path.join(bed.startup_folder(), 'lumivex.lnk')),
             'task': any(name != 'lumivex-AllUsers' for name in tasks),
             'shortcut /allusers': os.path.exists(os.path.join(bed.startup_folder(every_user=True), 'lumivex.lnk')),
             'task /allusers': 'lumivex-AllUsers' in tasks}
    return [way for way, registered in found.items() if registered]


def register_from_the_dialog(bed, pid, logon_task=None, unregister=False):
    bed.open_dialog(pid, 'スタートアップに登録', '登録しますか？')
    if logon_task:
        bed.click_control('登録しますか？', 'ログオン直後に表示する（タスク）')
    if unregister:
        bed.click_control('登録しますか？', '登録を解除する')
    else:
        bed.key('Return')
    bed.wait_gone('登録しますか？', pid=pid)


def logon_task_and_command_line(bed):
    prog = ProgramFolder(bed, 'lumivex-logo.bmp', splashtime=60)
    with bed.running(prog.exe) as pid:
        bed.options_from_splash(pid)
        register_from_the_dialog(bed, pid)
        poll('the shortcut', lambda: registrations(bed) == ['shortcut'], 5)
        register_from_the_dialog(bed, pid, logon_task=True)
        poll('the task instead of the shortcut', lambda: registrations(bed) == ['task'], 5)
        stored = Path(bed.drive_c('windows', 'system32', 'tasks', logon_tasks(bed)[0])).read_bytes().decode('utf-8-sig')
        check('<Priority>4</Priority>' in stored, f'the task keeps its priority: {stored}')
        register_from_the_dialog(bed, pid, unregister=True)
        poll('nothing registered', lambda: registrations(bed) == [], 5)

    # The same from the command line. A Task Scheduler the system refuses (here: its library missing) fails the
    # task and keeps the shortcut. Every user's registration: Wine's user holds administrator rights.
    steps = [(('/register', 'startup'), [], 0, ['shortcut']),
             (('-REGISTER', 'Task'), [], 0, ['task']),
             (('/register', 'startup'), [], 0, ['shortcut']),
             (('/register', 'task'), ['taskschd'], 1, ['shortcut']),
             (('/unregister',), [], 0, []),
             (('/register', 'task', '/allusers'), [], 0, ['task /allusers']),
             (('/register', 'startup', '/allusers'), [], 0, ['shortcut /allusers']),
             (('/unregister', '/allusers'), [], 0, [])]
    for arguments, without, code, registered in steps:
        check(bed.run_program(prog.exe, *arguments, without=without) == code, f'{arguments} ends with {code}')
        check(registrations(bed) == registered, f'after {arguments}: {registrations(bed)}')

    for arguments in (('/register',), ('/install',), ('/register', 'task', 'extra')):
        with bed.running(prog.exe, arguments=' '.join(arguments)) as pid:
            text = bed.answer_message_box()
            check('/register task' in text and '/unregister' in text, f'the usage for {arguments}: {text!r}')
            check(bed.wait_exit(pid, 10) == 'exited 2', f'{arguments} ends with exit code 2')


def polite_at_logon_and_one_instance(bed):
    prog = ProgramFolder(bed, 'lumivex-logo.bmp', splashtime=60)
    with bed.running(bed.drive_c('windows', 'notepad.exe')) as notepad:
        poll('notepad in front', lambda: bed.foreground(notepad), 10)
        with bed.running(prog.exe) as pid:
            typed = 'theuseriskeepsontyping'
            bed.type(typed)
            splash = bed.wait_window('splash', pid=pid)
            bed.type(typed)
            check(bed.foreground(notepad), f'the splash shows without taking the keyboard: {bed.ask("foreground")}')
            # The keys reach notepad after xdotool has sent them: a loaded machine delivers them a moment later.
            poll(f'no key lost: {typed * 2!r} in notepad',
                 lambda: (lambda w: w and w.klass == 'edit' and w.title == typed * 2)(bed.foreground(notepad)), 5)

            second = bed.launch(prog.exe)
            check(bed.wait_exit(second, 10) == 'exited 0', 'a second start ends at once')
            check(len([w for w in bed.windows('splash') if w.visible]) == 1, 'one splash')

            bed.click(*splash.centre)
            poll('the clicked splash active', lambda: bed.foreground(pid), 5)
            bed.key('Escape')
            bed.ends(pid, 'Esc works once the user clicks the splash', 5)


JOURNEYS = [
    ('FirstRunCompletesSetup', first_run_completes_setup),
    ('FirstRunAbandonedWithCloseBox', first_run_abandoned_with_close_box),
    ('NormalRunThreeSeconds', normal_run_shows_picture_and_ends),
    ('OptionsFromSplashAndOkSaves', f1_and_double_click_open_options_and_ok_saves),
    ('MissingPictureThenChooseOne', missing_picture_then_choose_one),
    ('CorruptPictureReportsAndOpensOptions', corrupt_picture_reports_and_opens_options),
    ('PositionDialogDragPlacesNextStart', position_dialog_drag_places_next_start),
    ('AboutShowsTheTypedName', about_shows_the_typed_name),
    ('LogonTaskAndCommandLine', logon_task_and_command_line),
    ('PoliteAtLogonAndOneInstance', polite_at_logon_and_one_instance),
    ('StartedMinimized', started_minimized_ends_after_one_second),
    ('StartedMaximized', started_maximized_takes_the_settings_state),
    ('ReleaseZipRunsFromAJapaneseFolderWithSpaces', release_zip_runs_from_a_japanese_folder_with_spaces),
    ('ExecutableIsStaticAndProtected', executable_is_static_and_protected),
]


def windows_at_the_screens_scale(bed):
    """At a dpi other than 96 every window is its design size at the screen's scale, and the splash and the
    position dialog's frame are the picture's size."""
    def scaled(*design):
        return tuple(d * bed.dpi // 96 for d in design)
    prog = ProgramFolder(bed, 'lumivex-logo.bmp', splashtime=60, winpos=1)
    with bed.running(prog.exe) as pid:
        splash = bed.wait_window('splash', pid=pid)
        check((splash.width, splash.height) == (480, 270), f'the splash is the picture\'s size: {splash.rect}')
        option = bed.options_from_splash(pid)
        check(option.client == scaled(532, 357), f'option dialog client area {option.client}')
        # Each dialog the options open: its size (the position frame's outside, the others' client area).
        for button, title, close, size in (('位置設定', 'ポジション設定', 'Escape', (480, 270)),
                                           ('About', 'About', 'Return', scaled(505, 321)),
                                           ('スタートアップに登録', '登録しますか？', 'Escape', scaled(234, 146))):
            dialog = bed.open_dialog(pid, button, title)
            got = (dialog.width, dialog.height) if title == 'ポジション設定' else dialog.client
            check(got == size, f'{title} is {got}, not {size}')
            bed.dismiss(pid, title, close)


# Run at another dpi than 96 (ctest runs them at 144: journeys-144dpi).
SCALED_JOURNEYS = [
    ('WindowsAtTheScreensScale', windows_at_the_screens_scale),
]


def picture_400x300(bed):
    path = bed.picture('logo-400x300.bmp')
    if not os.path.exists(path):
        subprocess.run(['convert', bed.picture('lumivex-logo.bmp'), '-resize', '400x300!', '-type', 'TrueColor',
                        'BMP3:' + path], check=True)
    return path


def centred_on_the_primary_monitor_in_both_arrangements(bed):
    """The second monitor right of the primary, then left of it (the virtual screen from x = -1024): the splash
    and the option dialog are centred on the primary monitor, wherever the virtual screen's middle is."""
    for layout in ('right', 'left'):
        bed.arrange(layout)
        prog = ProgramFolder(bed, picture_400x300(bed), splashtime=60)
        with bed.running(prog.exe) as pid:
            splash = bed.wait_window('splash', pid=pid)
            check(splash.rect == (312, 234, 712, 534), f'{layout}: the splash is centred on the primary: {splash.rect}')
            sun_on_screen(bed, splash.left + 112, splash.top + 110, f'{layout}: the picture on screen')
            option = bed.options_from_splash(pid)
            check((option.left, option.top) == ((1024 - option.width) // 2, (768 - option.height) // 2),
                  f'{layout}: the option dialog is centred on the primary: {option.rect}')


def place_on_an_unplugged_monitor(bed):
    """The logo dragged onto the monitor left of the primary (negative coordinates) and saved. That monitor is
    unplugged while the logo shows there: it moves wholly onto the primary, and so does it at the next start; the
    settings file keeps the saved place throughout."""
    bed.arrange('left')
    prog = ProgramFolder(bed, picture_400x300(bed), splashtime=60, winpos=1)
    with bed.running(prog.exe) as pid:
        bed.options_from_splash(pid)
        place_with_the_position_dialog(bed, pid, (-700, 100))
        bed.click_control('Option', 'OK')
        poll('the place saved', lambda: 'Top=100\r\n' in prog.read_ini() and 'Left=-700\r\n' in prog.read_ini(), 5)
        saved = open(prog.ini, 'rb').read()

        bed.arrange('one')
        bed.ask('display-changed')
        poll('the splash moved wholly onto the primary',
             lambda: bed.window('splash', pid).rect == (0, 100, 400, 400), 5)

    with bed.running(prog.exe) as pid:
        splash = bed.wait_window('splash', pid=pid)
        check(splash.rect == (0, 100, 400, 400), f'the next start shows it wholly on the primary: {splash.rect}')
        sun_on_screen(bed, 112, 210)
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
        sys.exit(harness.run(MONITOR_JOURNEYS, monitors='right', only=args[1:]))
    sys.exit(harness.run(JOURNEYS, only=args))
