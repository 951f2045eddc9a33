"""The end-to-end test bed: one Xvfb display and one Wine prefix for the run, lumivex.exe copied into a fresh
program folder for each test, started by the driver (tests/e2e/driver) as a launcher would start it, real
keyboard and mouse input through xdotool, and window state read back through the driver.

Output follows GoogleTest's lines so scripts/test-all can count the results.
"""

import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback
from pathlib import Path

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
BUILD = os.path.join(ROOT, 'build', 'win')


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def poll(what, fn, timeout=10.0, interval=0.05):
    """Calls fn until it returns a true value, which is returned; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = fn()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure(f'timed out waiting for {what}')
        time.sleep(interval)


def holds(what, fn, seconds, interval=0.1):
    """Checks that fn stays true for seconds: the time in which something must not happen."""
    deadline = time.monotonic() + seconds
    while True:
        check(fn(), what)
        if time.monotonic() >= deadline:
            return
        time.sleep(interval)


def start_xvfb(size):
    """A private Xvfb screen (scripts/xvfb): returns its PID and its DISPLAY."""
    out = subprocess.run([os.path.join(ROOT, 'scripts', 'xvfb'), size], capture_output=True, text=True)
    check(out.returncode == 0, f'could not start Xvfb: {out.stderr.strip()}')
    display, pid = out.stdout.split()
    return int(pid), display


def stop_process(pid):
    """Stops a process this run started, by its PID, and waits until it is gone."""
    try:
        os.kill(pid, 15)
    except ProcessLookupError:
        return
    poll(f'process {pid} to end', lambda: not os.path.exists(f'/proc/{pid}') or
         open(f'/proc/{pid}/stat').read().split(') ')[-1].startswith('Z'), 10)


def to_windows(path):
    return 'Z:' + path.replace('/', '\\')


def version():
    """The version text CMake made from project(VERSION) for the Windows build."""
    return Path(BUILD, 'generated', 'version.txt').read_text(encoding='utf-8').strip()


def normal_settings(picture, message='しばらくお待ち下さい', place=(0, 0), **option):
    """A settings file's sections for a normal run showing picture (a path, or None) with message, the window's
    place (left, top) and option's keys over the usual values."""
    settings = {
        'Window': {'Top': str(place[1]), 'Left': str(place[0])},
        'option': {'splashtime': '5', 'b_size': '3', 'trans': '100', 'colo': '-2147483633',
                   'bcol': '-2147483633', 'fcol': '0', 'winpos': '0', 'fsiz': '12', 'lbltrans': '0', 'name': ''},
        'message': {'message': message},
        'pic': {'picture': to_windows(picture) if picture else ''},
    }
    settings['option'].update({k: str(v) for k, v in option.items()})
    return settings


def write_ini(path, sections):
    text = ''.join(f'[{section}]\r\n' + ''.join(f'{k}={v}\r\n' for k, v in keys.items())
                   for section, keys in sections.items())
    Path(path).write_bytes(text.encode('cp932'))


def read_ini(path):
    return Path(path).read_bytes().decode('cp932')


class Window:
    """A window as the driver describes it."""

    def __init__(self, line):
        rest = line.split(' ', 2)[2]  # after "window HANDLE"
        title_at = rest.find(' title=')
        self.title = rest[title_at + 7:] if title_at >= 0 else ''
        self.values = dict(item.partition('=')[::2] for item in rest[:title_at].split())
        self.visible = self.values.get('visible') == '1'
        self.rect = tuple(int(v) for v in self.values['rect'].split(','))
        self.client = tuple(int(v) for v in self.values['client'].split(','))
        self.topmost = self.values.get('topmost') == '1'
        self.klass = self.values.get('class', '').lower()
        self.pid = int(self.values.get('pid', '0'))
        self.left, self.top = self.rect[:2]
        self.width, self.height = self.rect[2] - self.left, self.rect[3] - self.top
        self.centre = (self.left + self.width // 2, self.top + self.height // 2)


# Two 1024 x 768 monitors as Wine reports them in each arrangement of Bed.arrange: (left, top, right, bottom, primary).
LAYOUTS = {
    'right': [(0, 0, 1024, 768, True), (1024, 0, 2048, 768, False)],
    'left': [(-1024, 0, 0, 768, False), (0, 0, 1024, 768, True)],
    'one': [(0, 0, 1024, 768, True)],
}


class Bed:
    def __init__(self, dpi=96, monitors=None):
        """dpi: the screen's dots per inch in the Wine prefix (144 is 150 % scaling). monitors: 'right' or 'left'
        for two 1024 x 768 monitors (the second right or left of the primary) instead of one Wine desktop."""
        self.dpi = dpi
        self.monitors = monitors
        self.xorg = self.xvfb = self.driver = None
        self.tmp = tempfile.mkdtemp(prefix='lumivex-e2e-')
        self.prefix = os.path.join(self.tmp, 'prefix')
        self.env = dict(os.environ)
        self.origin = (0, 0)  # the virtual screen's top-left corner, which sits at the X screen's origin

    # ---- setup and teardown of the whole run
    def start(self):
        if not self.monitors:
            self.xvfb, self.env['DISPLAY'] = start_xvfb('1024x768')
            self.start_driver()
            return
        answer = subprocess.run([os.path.join(ROOT, 'scripts', 'monitors-display'), 'start'], check=True,
                                stdout=subprocess.PIPE, text=True).stdout.split()
        self.env['DISPLAY'], self.xorg = answer[0], int(answer[1])
        self.start_driver()
        self.arrange(self.monitors)

    def start_driver(self):
        self.env.pop('LUMIVEX_XVFB', None)
        desktop = ['--no-virtual-desktop'] if self.monitors else []
        self.driver = subprocess.Popen(
            [os.path.join(ROOT, 'scripts', 'wine-run'), '--prefix', self.prefix, '--dpi', str(self.dpi), *desktop,
             os.path.join(BUILD, 'e2e_driver.exe')],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=self.env, text=True, encoding='utf-8', bufsize=1)
        desktop = self.ask('desktop')
        check(desktop.startswith('desktop '), f'driver did not answer: {desktop!r}')

    def arrange(self, layout):
        """Two monitors: 'right', 'left', or 'one' (the second unplugged), while Wine runs, as a user plugs and
        unplugs them: Wine sees the new layout within a tenth of a second, and programs started after it too."""
        subprocess.run([os.path.join(ROOT, 'scripts', 'monitors-display'), 'arrange', self.env['DISPLAY'], layout],
                       check=True, env=self.env, stdout=subprocess.DEVNULL)
        poll(f'Wine to see the monitors arranged "{layout}"', lambda: sorted(self.monitors_seen()) == LAYOUTS[layout])
        self.origin = (min(m[0] for m in LAYOUTS[layout]), min(m[1] for m in LAYOUTS[layout]))

    def monitors_seen(self):
        """The monitors as Wine reports them: (left, top, right, bottom, primary)."""
        found = []
        for line in self.ask('monitors', lines=True):
            rect, primary = line.split()[1:3]
            found.append((*(int(v) for v in rect.split(',')), primary == 'primary=1'))
        return found

    def stop_driver(self):
        if self.driver and self.driver.poll() is None:
            try:
                self.driver.stdin.write('quit\n')
                self.driver.stdin.flush()
                self.driver.wait(timeout=10)
            except Exception:
                self.driver.kill()
        subprocess.run(['wineserver', '-k'], env=dict(self.env, WINEPREFIX=self.prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.driver = None

    def stop(self):
        self.stop_driver()
        if self.xorg:
            os.kill(self.xorg, 15)
        if self.xvfb:
            stop_process(self.xvfb)
        shutil.rmtree(self.tmp, ignore_errors=True)

    # ---- the driver
    def ask(self, command, lines=False):
        """The driver's answer to command: one line, or with lines=True the lines before its "end"."""
        self.driver.stdin.write(command + '\n')
        self.driver.stdin.flush()
        answer = []
        while True:
            line = self.driver.stdout.readline()
            check(line != '', f'driver ended while answering {command!r}')
            line = line.rstrip('\n')
            if not lines:
                return line
            if line == 'end':
                return answer
            answer.append(line)

    def windows(self, title):
        return [Window(line) for line in self.ask(f'find {title}', lines=True)]

    def window(self, title, pid=None):
        for w in self.windows(title):
            if w.visible and (pid is None or w.pid == pid):
                return w
        return None

    def wait_window(self, title, timeout=15.0, pid=None):
        return poll(f'window "{title}"', lambda: self.window(title, pid), timeout)

    def wait_gone(self, title, timeout=15.0, pid=None):
        poll(f'window "{title}" to disappear', lambda: self.window(title, pid) is None, timeout)

    def children(self, title):
        return [Window(line) for line in self.ask(f'children {title}', lines=True)]

    def control(self, window_title, text=None, klass=None, width=None):
        """The first control of the visible window window_title with that text, class and width (each if given)."""
        for c in self.children(window_title):
            if (text is None or c.title == text) and (klass is None or c.klass == klass) and \
                    (width is None or c.width == width):
                return c
        raise Failure(f'no control "{text}" ({klass}) in "{window_title}"')

    def click_control(self, window_title, text):
        self.click(*self.control(window_title, text).centre)

    def open_dialog(self, pid, button, title, parent='Option'):
        """Clicks button in parent and returns the window it opens, titled title."""
        self.click_control(parent, button)
        return self.wait_window(title, pid=pid)

    def dismiss(self, pid, title, key='Return'):
        self.key(key)
        self.wait_gone(title, pid=pid)

    def answer_message_box(self):
        """Waits for the program's message box (caption "Lumivex"), answers it with Enter and returns its text."""
        self.wait_window('Lumivex', 10)
        text = '\n'.join(c.title for c in self.children('Lumivex') if c.klass == 'static' and c.title)
        self.key('Return')
        return text

    def options_from_splash(self, pid):
        """F1 once the splash of process pid has the keyboard: returns the option dialog it opens."""
        splash = self.wait_window('splash', pid=pid)
        if self.monitors:
            self.point_at(splash)
        poll('the splash to have the keyboard', lambda: self.foreground(pid), 5)
        self.key('F1')
        return self.wait_window('Option', pid=pid)

    def foreground(self, pid):
        """The window with the keyboard focus (else the foreground window) when it belongs to process pid."""
        line = self.ask('foreground')
        window = None if line == 'none' else Window(line)
        return window if window and window.pid == pid else None

    def pixel(self, x, y):
        return self.ask(f'pixel {x} {y}').split()[1]

    def launch(self, exe, show=1, arguments=''):
        """Starts exe (a path here, or one in the prefix such as C:\\...) as a launcher would: returns its PID."""
        exe = to_windows(exe) if exe.startswith('/') else exe
        answer = self.ask(f'launch {show} {exe}' + (f'\t{arguments}' if arguments else ''))
        check(answer.startswith('pid '), f'launch failed: {answer}')
        return int(answer.split()[1])

    @contextlib.contextmanager
    def running(self, exe, show=1, arguments=''):
        """Starts exe for the with-block and ends it afterwards if it still runs."""
        pid = self.launch(exe, show, arguments)
        try:
            yield pid
        finally:
            self.close(pid)

    def close(self, pid):
        if self.wait_exit(pid, 0) == 'running':
            self.ask(f'kill {pid}')
            self.wait_exit(pid, 5)

    def ends(self, pid, what, timeout=10):
        """Checks that process pid ends within timeout seconds."""
        check(self.wait_exit(pid, timeout).startswith('exited'), what)

    def shows_sample_and_ends(self, exe, what, timeout=10):
        """Starts exe, which shows the 480 x 270 sample logo and ends after its display time (within timeout s)."""
        with self.running(exe) as pid:
            splash = self.wait_window('splash', pid=pid)
            check((splash.width, splash.height) == (480, 270), f'{what}: {splash.rect}')
            self.ends(pid, f'{what}, then the program ends', timeout)

    def run_program(self, exe, *arguments, without=(), timeout=30):
        """Runs exe with arguments in the bed's prefix and returns its exit code. without: Wine libraries the run
        goes without, as if the system lacked them."""
        return self.wine(to_windows(exe), *arguments, without=without, timeout=timeout).returncode

    def wine(self, program, *arguments, without=(), timeout=30):
        """Runs a program in the bed's prefix (a Windows path, or a name on its path such as msiexec) and returns
        the finished process, with its output as text."""
        overrides = ';'.join(['mscoree,mshtml=', 'winemenubuilder.exe=d'] + [f'{name}=d' for name in without])
        env = dict(self.env, WINEPREFIX=self.prefix, WINEDEBUG='-all', WINEDLLOVERRIDES=overrides,
                   LC_ALL='ja_JP.UTF-8', LANG='ja_JP.UTF-8')
        # The output through a file, not a pipe: a process the program leaves running (Wine's own services) would
        # hold a pipe open.
        with tempfile.TemporaryFile() as out:
            done = subprocess.run(['wine', program, *arguments], env=env, timeout=timeout, stdout=out,
                                  stderr=subprocess.DEVNULL)
            out.seek(0)
            done.stdout = out.read().decode('cp932', errors='replace')
        return done

    def wait_exit(self, pid, timeout):
        return self.ask(f'wait-exit {pid} {int(timeout * 1000)}')

    # ---- the prefix and the sample pictures
    def drive_c(self, *parts):
        return os.path.join(self.prefix, 'drive_c', *parts)

    def startup_folder(self, every_user=False):
        """The user's Startup folder, or the one of every user."""
        home = ('ProgramData',) if every_user else ('users', os.environ.get('USER', 'root'), 'AppData', 'Roaming')
        return self.drive_c(*home, 'Microsoft', 'Windows', 'Start Menu', 'Programs', 'StartUp')

    def picture(self, name):
        """A sample picture of scripts/make_demo_pictures.py by its name (made once for the bed), or a path."""
        folder = os.path.join(self.tmp, 'pic')
        if not os.path.isdir(folder):
            subprocess.run([sys.executable, os.path.join(ROOT, 'scripts', 'make_demo_pictures.py'), folder],
                           check=True, stdout=subprocess.DEVNULL)
        return os.path.join(folder, name)

    # ---- real input on the X display, at window coordinates (the virtual screen's corner is the X screen's origin)
    def x_screen(self, x, y):
        return x - self.origin[0], y - self.origin[1]

    def xdotool(self, *args):
        subprocess.run(['xdotool', *[str(a) for a in args]], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def point_at(self, window):
        """Moves the pointer over a window. On two monitors there is no window manager and Wine's virtual desktop is
        off: the X keyboard focus follows the pointer, so keys reach the window under it."""
        self.xdotool('mousemove', *self.x_screen(*window.centre))

    def key(self, *keys):
        self.xdotool('key', '--delay', '40', *keys)

    def type(self, text):
        self.xdotool('type', '--delay', '20', text)

    def click(self, x, y, repeat=1):
        self.xdotool('mousemove', *self.x_screen(x, y))
        time.sleep(0.05)
        self.xdotool('click', '--repeat', repeat, '--delay', '80', 1)

    def drag(self, x0, y0, x1, y1, steps=8):
        self.xdotool('mousemove', *self.x_screen(x0, y0))
        time.sleep(0.05)
        self.xdotool('mousedown', 1)
        for i in range(1, steps + 1):
            self.xdotool('mousemove', *self.x_screen(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps))
            time.sleep(0.03)
        self.xdotool('mouseup', 1)


class ProgramFolder:
    """A fresh program folder with lumivex.exe in it."""

    # The message list a first show of the options creates.
    MESSAGES_FILE = 'しばらくお待ち下さい\r\nNow Loading...\r\n起動中・・・\r\n起動ing\r\n'.encode('cp932')

    def __init__(self, bed, picture=None, messages=True, **settings):
        """picture: a settings file for a normal run that shows it (Bed.picture), with settings (normal_settings).
        messages: the folder already holds the message list a first show of the options creates."""
        self.path = tempfile.mkdtemp(prefix='prog-', dir=bed.tmp)
        self.exe = os.path.join(self.path, 'lumivex.exe')
        shutil.copy(os.path.join(BUILD, 'lumivex.exe'), self.exe)
        self.ini = os.path.join(self.path, 'lumivex.ini')
        if messages:
            Path(self.file('mes.txt')).write_bytes(self.MESSAGES_FILE)
        if picture:
            self.write_ini(normal_settings(bed.picture(picture), **settings))

    def file(self, name):
        return os.path.join(self.path, name)

    def write_ini(self, sections):
        write_ini(self.ini, sections)

    def read_ini(self):
        return read_ini(self.ini)


def run(tests, dpi=96, monitors=None, fresh_bed=False, only=()):
    """Runs the (name, function) pairs of tests named in only (all when it is empty). fresh_bed: each test gets a
    bed of its own (a new display and prefix) instead of all sharing one."""
    tests = [(name, fn) for name, fn in tests if not only or name in only]
    bed = Bed(dpi, monitors)
    passed, failed = [], []
    try:
        if not fresh_bed:
            bed.start()
        for name, fn in tests:
            print(f'[ RUN      ] E2E.{name}', flush=True)
            started = time.monotonic()
            try:
                if fresh_bed:
                    bed.stop()
                    bed = Bed(dpi, monitors)
                    bed.start()
                fn(bed)
                passed.append(name)
                print(f'[       OK ] E2E.{name} ({int((time.monotonic() - started) * 1000)} ms)', flush=True)
            except Exception as e:  # a failed check or a broken step: either way the journey failed
                detail = str(e) if isinstance(e, Failure) else traceback.format_exc()
                print(f'{name}: Failure\n{detail}', flush=True)
                print(f'[  FAILED  ] E2E.{name}', flush=True)
                failed.append(name)
    except Exception:
        print(traceback.format_exc(), flush=True)
        failed.append('setup')
    finally:
        bed.stop()
    print(f'[  PASSED  ] {len(passed)} tests.')
    if failed:
        print(f'[  FAILED  ] {len(failed)} tests, listed below:')
        for name in failed:
            print(f'[  FAILED  ] E2E.{name}')
    return 0 if not failed else 1
