"""Takes the README's screenshots of every window from real runs of lumivex.exe (make screenshots → docs/), and the
same set at 150 % display scaling (144 dpi) → docs/144dpi/."""

import os
import subprocess
import sys
import time

import harness
import journeys
from harness import ProgramFolder, poll

DOCS = os.path.join(harness.ROOT, 'docs')


def shoot(bed, window, name, margin=0):
    time.sleep(0.6)
    x, y = max(window.left - margin, 0), max(window.top - margin, 0)
    w, h = window.width + 2 * margin, window.height + 2 * margin
    subprocess.run(['import', '-display', bed.env['DISPLAY'], '-window', 'root', '-crop', f'{w}x{h}+{x}+{y}',
                    '+repage', os.path.join(DOCS, name)], check=True)
    print(f'docs/{name}')


def write_messages(prog):
    lines = ['しばらくお待ち下さい', 'Now Loading...', '起動中・・・', '起動ing']
    with open(prog.file('mes.txt'), 'wb') as f:
        f.write(''.join(line + '\r\n' for line in lines).encode('cp932'))


def launch_normal_run(bed, picture, message, place=None, **values):
    """Starts the program in a folder of its own with the message list and a settings file naming `picture`."""
    prog = ProgramFolder(bed)
    write_messages(prog)
    settings = journeys.normal_settings(picture, splashtime=120, **values)
    if place:
        settings['Window'] = {'Top': str(place[1]), 'Left': str(place[0])}
    settings['message'] = {'message': message}
    prog.write_ini(settings)
    return bed.launch(prog.exe)


def take(bed):
    """Every window; at a dpi other than 96 into a folder of its own (docs/144dpi)."""
    folder = '' if bed.dpi == 96 else f'{bed.dpi}dpi/'
    os.makedirs(os.path.join(DOCS, folder), exist_ok=True)
    pictures = journeys.pictures(bed)

    prog = ProgramFolder(bed)
    write_messages(prog)
    pid = bed.launch(prog.exe)
    option = bed.wait_window('Option', pid=pid)
    time.sleep(3)  # the guidance pointer slides into place
    shoot(bed, bed.window('Option', pid), folder + 'option-first-run.png')
    bed.kill(pid)
    bed.wait_exit(pid, 5)
    del option

    pid = launch_normal_run(bed, os.path.join(pictures, 'lumivex-logo.jpg'), '起動中・・・  Lumivex 0.006', (272, 200),
                            b_size=4, trans=85, colo=3345442, bcol=3345442, fcol=16777215, fsiz=11, lbltrans=1,
                            winpos=1, name='山田 花子')
    splash = bed.wait_window('splash', pid=pid)
    poll('the picture on screen', lambda: bed.pixel(splash.left + 120, splash.top + 120) != '000000')
    shoot(bed, splash, folder + 'splash.png', margin=24)

    bed.key('F1')
    bed.wait_window('Option', pid=pid)
    time.sleep(3)
    journeys.click_control(bed, 'Option', '位置設定')
    frame = bed.wait_window('ポジション設定', pid=pid)
    shoot(bed, frame, folder + 'position-dialog.png')
    bed.key('Escape')
    bed.wait_gone('ポジション設定', pid=pid)

    spin = [c for c in bed.children('Option') if c.klass.lower() == 'edit' and c.width == 61 * bed.dpi // 96][0]
    bed.click(spin.left + 10, spin.top + 8)
    shoot(bed, bed.window('Option', pid), folder + 'option-guidance.png')

    journeys.click_control(bed, 'Option', 'About')
    shoot(bed, bed.wait_window('About', pid=pid), folder + 'about.png')
    bed.key('Return')
    bed.wait_gone('About', pid=pid)

    journeys.click_control(bed, 'Option', 'スタートアップに登録')
    shoot(bed, bed.wait_window('登録しますか？', pid=pid), folder + 'startup-registration.png')
    bed.key('Escape')
    bed.wait_gone('登録しますか？', pid=pid)

    shoot_effects_dialog(bed, pid, folder + 'effects-dialog.png')
    bed.kill(pid)
    bed.wait_exit(pid, 5)

    shoot_shaped_logo(bed, pictures, folder)


def shoot_shaped_logo(bed, pictures, folder):
    """The PNG logo with a transparent background over the desktop and over another run's splash window."""
    first = launch_normal_run(bed, os.path.join(pictures, 'lumivex-logo.jpg'), '', (120, 330), b_size=0, winpos=1,
                              fsiz=1)
    under = bed.wait_window('splash', pid=first)
    poll('the picture behind on screen', lambda: bed.pixel(under.left + 120, under.top + 120) != '000000')

    sun = (380 + 100, 250 + 100)  # the emblem's centre, over the window behind until the logo shows
    before = bed.pixel(*sun)
    pid = launch_normal_run(bed, os.path.join(pictures, 'lumivex-shaped.png'), '起動中・・・', (380, 250), b_size=0,
                            winpos=1, fcol=16777215, fsiz=11, lbltrans=0)
    splash = bed.wait_window('splash', pid=pid)
    poll('the shaped logo on screen', lambda: bed.pixel(*sun) != before)
    shoot(bed, splash, folder + 'splash-shaped.png', margin=60)
    for p in (pid, first):
        bed.kill(p)
        bed.wait_exit(p, 5)


def shoot_effects_dialog(bed, pid, name):
    """The effects dialog opened from the option dialog, its fade-in time focused and explained."""
    journeys.click_control(bed, 'Option', '効果設定')
    effects = bed.wait_window('効果', pid=pid)
    spin = [c for c in bed.children('効果') if c.klass.lower() == 'edit'][0]
    bed.click(spin.left + 10, spin.top + 8)
    shoot(bed, effects, name)
    bed.key('Escape')
    bed.wait_gone('効果', pid=pid)


def take_scaled(bed):
    """The option dialog at 150 % display scaling, in a prefix whose screen has 144 dpi."""
    pid = launch_normal_run(bed, os.path.join(journeys.pictures(bed), 'lumivex-logo.jpg'), '起動中・・・  Lumivex 0.006',
                            winpos=1, name='山田 花子')
    bed.wait_window('splash', pid=pid)
    bed.key('F1')
    bed.wait_window('Option', pid=pid)
    time.sleep(3)  # the guidance pointer slides into place
    shoot(bed, bed.window('Option', pid), 'option-150-percent.png')
    shoot_effects_dialog(bed, pid, 'effects-150-percent.png')
    bed.kill(pid)
    bed.wait_exit(pid, 5)


def take_two_monitors(bed):
    """Two monitors side by side, the primary on the left: the logo centred on the primary, the whole desk at half
    size with each monitor in a bezel."""
    subprocess.run(['xsetroot', '-solid', '#2f5d8a'], env=bed.env, check=True)
    pid = launch_normal_run(bed, os.path.join(journeys.pictures(bed), 'lumivex-logo.jpg'), '起動中・・・  Lumivex 0.006',
                            b_size=4, colo=3345442, bcol=3345442, fcol=16777215, fsiz=11, lbltrans=1)
    splash = bed.wait_window('splash', pid=pid)
    poll('the picture on screen', lambda: bed.pixel(splash.left + 120, splash.top + 120) != '000000')
    time.sleep(0.6)
    desk = os.path.join(bed.tmp, 'desk.png')
    subprocess.run(['import', '-display', bed.env['DISPLAY'], '-window', 'root', desk], check=True)
    bezel = ['+repage', '-bordercolor', '#1c1c1c', '-border', '14']
    subprocess.run(['convert', desk, '(', '-clone', '0', '-crop', '1024x768+0+0', *bezel, ')',
                    '(', '-clone', '0', '-crop', '1024x768+1024+0', *bezel, ')', '-delete', '0', '+append',
                    '-resize', '50%', '-define', 'png:exclude-chunk=date,time',  # the same file from the same pixels
                    os.path.join(DOCS, 'two-monitors.png')], check=True)
    print('docs/two-monitors.png')
    bed.kill(pid)
    bed.wait_exit(pid, 5)


if __name__ == '__main__':
    failed = harness.run([('Screenshots', take)])
    failed = harness.run([('ScreenshotsOnTwoMonitors', take_two_monitors)], monitors='right') or failed
    failed = harness.run([('ScreenshotsAt150Percent', take_scaled), ('EveryWindowAt150Percent', take)], dpi=144) or failed
    sys.exit(failed)
