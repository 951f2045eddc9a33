"""`make bench`: start-up and resource figures of lumivex.exe against the least-work baseline and the floor program,
under Wine. The floor program is bench/baseline.cpp built with what the design forces before the first paint (the
manifest of common controls 6, the 17 settings reads, the layered-window entry looked up at run time, the owner
window); it runs from the same program folder as lumivex.exe, reading the same settings file.

For each picture (a 1024 x 768 BMP, a 12 MP JPEG and a 48 MP JPEG both sequential and progressive, and a
1024 x 768 PNG with a transparent background, and the BMP again with a 500 ms fade in, made here with recognisable blocks around the centre, the part any
desktop shows) lumivex.exe and bench/baseline.cpp run RUNS times each, round by round across the pictures after one
warm-up round. bench_probe measures each start from process creation, with the Wine desktop already up, as it is at
logon; then, for pictures larger than the desktop, a later paint: it moves the window up and left by MOVE pixels,
which brings a block off the desktop until then onto it, times it until that block is on screen, and keeps the
longest time the window took meanwhile to answer a message. For the two BMP rows it also measures the CPU time used
in the FADE_IN ms after the first paint: the fade's cost against a start without one. Prints medians, min/max and
the ratios of Lumivex to the baseline and to the floor program, then the fade's first paint and CPU against the BMP without a fade.
Environment: BENCH_RUNS (default 7), LUMIVEX_BENCH_BUILD (the Windows build folder, default build/win),
BENCH_PICTURES (comma-separated beginnings of the pictures' labels to run, e.g. "PNG,BMP"; default all).
"""

import os
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..'))
BUILD = os.path.abspath(os.environ.get('LUMIVEX_BENCH_BUILD', os.path.join(ROOT, 'build', 'win')))
RUNS = int(os.environ.get('BENCH_RUNS', '7'))
DESKTOP = (1024, 768)
BLOCKS = [((-160, -120), 'e03020'), ((120, -120), '20c040'), ((-160, 100), '2040e0'), ((120, 100), 'f0e040')]
SPLASH_SECONDS = 15  # long enough for the measurements; the probe closes the window when it is done
MOVE = 300
# Off the desktop until the window moves up and left by MOVE; below the first paint's rows, so that a sequential
# JPEG has to be read from its top further than for the first paint.
LATER_BLOCK = ((600, 500), 'ff00ff')
FADE_IN = 500  # ms


def win(path):
    return 'Z:' + path.replace('/', '\\')


def make_picture(folder, name, width, height, progressive=False):
    """A picture with a dark background, four coloured blocks around its centre and one further out that only a
    later paint shows; returns the path, the samples of the first paint and those of the later paint (none when
    the picture is too small for the block to be off the desktop at first)."""
    path = os.path.join(folder, name)
    cx, cy = width // 2, height // 2
    draw = []
    (lx, ly), later_colour = LATER_BLOCK
    for (dx, dy), colour in BLOCKS + [LATER_BLOCK]:
        draw += ['-fill', f'#{colour}', '-draw', f'rectangle {cx + dx},{cy + dy} {cx + dx + 40},{cy + dy + 40}']
    out = ('BMP3:' + path) if name.endswith('.bmp') else path
    coding = ['-interlace', 'JPEG'] if progressive else []
    background = ['gradient:#102040-#402010']
    if name.endswith('.png'):
        # A logo's kind of picture: clear around a soft, half-transparent plate.
        out = 'PNG32:' + path
        background = ['xc:none', '-fill', 'rgba(40,60,120,0.55)', '-draw',
                      f'roundrectangle {cx - 260},{cy - 200} {cx + 260},{cy + 200} 60,60']
    subprocess.run(['convert', '-size', f'{width}x{height}', *background, *draw,
                    '-quality', '90', *coding, out], check=True)
    left = DESKTOP[0] // 2 - width // 2
    top = DESKTOP[1] // 2 - height // 2
    samples = [f'{left + cx + dx + 20},{top + cy + dy + 20},{colour}' for (dx, dy), colour in BLOCKS]
    lxs, lys = left + cx + lx + 20, top + cy + ly + 20
    inside = cx + lx + 40 < width and cy + ly + 40 < height
    off_at_first = inside and (lxs - 20 >= DESKTOP[0] or lys - 20 >= DESKTOP[1])
    on_after_move = 0 <= lxs - MOVE < DESKTOP[0] and 0 <= lys - MOVE < DESKTOP[1]
    later = [f'{lxs - MOVE},{lys - MOVE},{later_colour}'] if off_at_first and on_after_move else []
    return path, samples, later


def program_folder(tmp, picture, fade_in=0):
    folder = tempfile.mkdtemp(dir=tmp, prefix='prog-')
    shutil.copy(os.path.join(BUILD, 'lumivex.exe'), folder)
    ini = ('[Window]\r\nTop=0\r\nLeft=0\r\n[option]\r\n'
           f'splashtime={SPLASH_SECONDS}\r\nb_size=0\r\ntrans=100\r\ncolo=0\r\n'
           'winpos=0\r\nfsiz=12\r\nlbltrans=0\r\n' + (f'fadein={fade_in}\r\n' if fade_in else '') +
           f'[message]\r\nmessage=\r\n[pic]\r\npicture={win(picture)}\r\n')
    with open(os.path.join(folder, 'lumivex.ini'), 'w', newline='') as f:
        f.write(ini)
    with open(os.path.join(folder, 'mes.txt'), 'wb') as f:
        f.write(b'')
    shutil.copy(os.path.join(BUILD, 'floor_program.exe'), folder)
    return os.path.join(folder, 'lumivex.exe')


def probe(env, prefix, program, args, samples, later=(), during=None):
    move = ['--move', f'{-MOVE},{-MOVE}', *later] if later else []
    measure = ['--during', str(during)] if during is not None else []
    out = subprocess.run([os.path.join(ROOT, 'scripts', 'wine-run'), '--prefix', prefix,
                          os.path.join(BUILD, 'bench_probe.exe'), win(program), args, '5', *measure, *samples, *move],
                         env=env, capture_output=True, text=True, timeout=180)
    values = out.stdout.split()
    if len(values) != 7:
        raise RuntimeError(f'probe failed: {out.stdout!r} {out.stderr[-500:]!r}')
    return [float(v) for v in values]


def summary(values):
    return statistics.median(values), min(values), max(values)


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))  # still stops what it started
    tmp = tempfile.mkdtemp(prefix='lumivex-bench-')
    env = dict(os.environ)
    xvfb = None
    holder = None
    try:
        if not env.get('DISPLAY') or env.get('LUMIVEX_XVFB') == '1':
            out = subprocess.run([os.path.join(ROOT, 'scripts', 'xvfb'), '1024x768'], capture_output=True,
                                 text=True, check=True)
            env['DISPLAY'], xvfb = out.stdout.split()[0], int(out.stdout.split()[1])
        prefix = os.path.join(tmp, 'prefix')
        # The first run makes the prefix; from then on the desktop stays up, as it is at logon (bench_probe --hold).
        empty = [probe(env, prefix, os.path.join(BUILD, 'empty_program.exe'), '', [])[2]]
        holder = subprocess.Popen([os.path.join(ROOT, 'scripts', 'wine-run'), '--prefix', prefix,
                                   os.path.join(BUILD, 'bench_probe.exe'), '--hold'], env=env,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True)
        # Two programs starting the desktop at once can both wait for it forever: the runs start once it is up.
        if not select.select([holder.stdout], [], [], 120)[0] or holder.stdout.readline().strip() != b'ready':
            raise RuntimeError('the desktop did not come up')
        # label, file, size, progressive, fade in (ms)
        pictures = [('BMP 1024x768', 'screen.bmp', 1024, 768, False, 0),
                    ('JPEG 12 MP', 'photo12.jpg', 4000, 3000, False, 0),
                    ('JPEG 48 MP', 'photo48.jpg', 8000, 6000, False, 0),
                    ('JPEG 48 MP prog', 'photo48p.jpg', 8000, 6000, True, 0),
                    ('PNG 1024x768', 'logo.png', 1024, 768, False, 0),
                    (f'BMP fadein={FADE_IN}', 'screen.bmp', 1024, 768, False, FADE_IN)]
        only = [p.strip() for p in os.environ.get('BENCH_PICTURES', '').split(',') if p.strip()]
        pictures = [p for p in pictures if not only or any(p[0].startswith(o) for o in only)]
        empty += [probe(env, prefix, os.path.join(BUILD, 'empty_program.exe'), '', [])[2] for _ in range(2)]
        empty_peak = statistics.median(empty)
        print(f'empty Wine program: peak working set {empty_peak / 1024:.1f} MB')
        print(f'{"picture":15} {"program":9} {"visible ms":>18} {"on screen ms":>20} {"peak MB":>16} {"idle CPU ms":>12}')
        cases = []
        for label, name, w, h, progressive, fade_in in pictures:
            picture, samples, later = make_picture(tmp, name, w, h, progressive)
            lumivex = program_folder(tmp, picture, fade_in)
            baseline_args = f'"{win(picture)}" {SPLASH_SECONDS}'
            cases.append((label, samples, later, {
                'lumivex': (lumivex, ''),
                'floor': (os.path.join(os.path.dirname(lumivex), 'floor_program.exe'), baseline_args),
                'baseline': (os.path.join(BUILD, 'baseline.exe'), baseline_args)}))
        results = {label: {'lumivex': [], 'floor': [], 'baseline': []} for label, _, _, _ in cases}
        # Round by round through every picture and program, so that a machine growing slower or faster over the
        # minutes of the bench weighs on all alike; the first round warms up and is not counted.
        for run in range(RUNS + 1):
            for label, samples, later, programs in cases:
                for who, (program, args) in programs.items():
                    during = FADE_IN if label.startswith('BMP') else None
                    timed = probe(env, prefix, program, args, samples, later, during)
                    if run > 0:
                        results[label][who].append(timed)
        for label, _, _, _ in cases:
            medians = {}
            for who, rows in results[label].items():
                cols = list(zip(*rows))
                vis, scr, peak, cpu = (summary(c) for c in cols[:4])
                medians[who] = (vis[0], scr[0], peak[0], cpu[0])
                print(f'{label:15} {who:9} {vis[0]:7.0f} [{vis[1]:4.0f}-{vis[2]:4.0f}] '
                      f'{scr[0]:7.0f} [{scr[1]:5.0f}-{scr[2]:5.0f}] {peak[0] / 1024:6.1f} '
                      f'[{peak[1] / 1024:4.0f}-{peak[2] / 1024:4.0f}] {cpu[0]:8.1f}')
            lv, fl, bl = medians['lumivex'], medians['floor'], medians['baseline']
            print(f'{label:15} ratio     visible {lv[0] / bl[0]:.2f}  on screen {lv[1] / bl[1]:.2f}  '
                  f'peak above empty {(lv[2] - empty_peak) / 1024:.1f} MB  idle CPU {lv[3]:.1f} ms')
            print(f'{label:15} to floor  visible {lv[0] / fl[0]:.2f}  on screen {lv[1] / fl[1]:.2f}  '
                  f'(floor to baseline: on screen {fl[1] / bl[1]:.2f})')
        plain, faded = results.get('BMP 1024x768'), results.get(f'BMP fadein={FADE_IN}')
        if plain and faded:
            print()
            print(f'fade in of {FADE_IN} ms: first paint (on screen) and CPU in the {FADE_IN} ms after it, '
                  'against the same BMP without a fade')
            for name, rows in (('no fade', plain['lumivex']), (f'fadein={FADE_IN}', faded['lumivex'])):
                scr, during = summary([r[1] for r in rows]), summary([r[6] for r in rows])
                print(f'{name:15} on screen {scr[0]:7.0f} [{scr[1]:5.0f}-{scr[2]:5.0f}] ms  '
                      f'CPU {during[0]:6.1f} [{during[1]:5.1f}-{during[2]:5.1f}] ms')
            ratio = statistics.median([r[1] for r in faded['lumivex']]) / statistics.median(
                [r[1] for r in plain['lumivex']])
            print(f'{"":15} ratio on screen (fade / no fade) {ratio:.2f}')
        print()
        print(f'later paint: the window moved up and left by {MOVE} pixels, until the new part is on screen')
        print(f'{"picture":15} {"program":9} {"new part on screen ms":>26} {"longest message wait ms":>28}')
        for label, _, later, _ in cases:
            if not later:
                continue
            for who, rows in results[label].items():
                shown = [r[4] for r in rows]
                waits = [r[5] for r in rows]
                if min(shown) < 0:
                    print(f'{label:15} {who:9} new part not seen in {shown.count(-1)} of {len(shown)} runs')
                    shown = [v for v in shown if v >= 0] or [-1]
                (s_med, s_min, s_max), (w_med, w_min, w_max) = summary(shown), summary(waits)
                print(f'{label:15} {who:9} {s_med:13.0f} [{s_min:5.0f}-{s_max:5.0f}] '
                      f'{w_med:15.0f} [{w_min:5.0f}-{w_max:5.0f}]')
    finally:
        if holder:
            os.killpg(holder.pid, signal.SIGTERM)
            holder.wait()
        if xvfb:
            os.kill(xvfb, signal.SIGTERM)
        subprocess.run(['wineserver', '-k'], env=dict(env, WINEPREFIX=os.path.join(tmp, 'prefix')),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
