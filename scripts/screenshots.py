"""Takes the README's screenshots of every window from real runs of lumivex.exe (make screenshots → docs/), and the
same set at 150 % display scaling (144 dpi) → docs/144dpi/."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'e2e'))
import harness  # noqa: E402  (the journeys' test bed: the same Wine runs, windows and keys)
from harness import ProgramFolder, poll  # noqa: E402

DOCS = os.path.join(harness.ROOT, 'docs')


def capture(bed, path, *crop):
    time.sleep(0.6)  # the window drawn whole, and a focused box's caret at the same point of its blink each time
    subprocess.run(['import', '-display', bed.env['DISPLAY'], '-window', 'root', *crop, path], check=True)


def shoot(bed, window, name, margin=0):
    x, y = max(window.left - margin, 0), max(window.top - margin, 0)
    w, h = window.width + 2 * margin, window.height + 2 * margin
    capture(bed, os.path.join(DOCS, name), '-crop', f'{w}x{h}+{x}+{y}', '+repage')
    print(f'docs/{name}')


def shoot_dialog(bed, pid, button, title, name, close='Escape'):
    """The dialog title, opened by button of the option dialog."""
    shoot(bed, bed.open_dialog(pid, button, title), name)
    bed.dismiss(pid, title, close)


def guidance_in_place(bed, pid):
    """Waits for the option dialog's guidance pointer to slide to its place at the dialog's left edge."""
    def in_place():
        option = bed.window('Option', pid)
        pointer = bed.control('Option', '▲この位置にガイダンスが表示されます')
        return pointer.left - (option.left + (option.width - option.client[0]) // 2) == 8 * bed.dpi // 96
    poll('the guidance pointer in place', in_place, 10)
    return bed.window('Option', pid)


def launch_normal_run(bed, picture, message, place=(0, 0), **values):
    """Starts the program in a folder of its own with the message list and a settings file showing picture."""
    return bed.launch(ProgramFolder(bed, picture, message=message, place=place, splashtime=120, **values).exe)


def take(bed):
    """Every window; at a dpi other than 96 into a folder of its own (docs/144dpi)."""
    folder = '' if bed.dpi == 96 else f'{bed.dpi}dpi/'
    os.makedirs(os.path.join(DOCS, folder), exist_ok=True)

    pid = bed.launch(ProgramFolder(bed).exe)
    bed.wait_window('Option', pid=pid)
    shoot(bed, guidance_in_place(bed, pid), folder + 'option-first-run.png')
    bed.close(pid)

    pid = launch_normal_run(bed, 'lumivex-logo.jpg', '起動中・・・  Lumivex 0.006', (272, 200), b_size=4, trans=85,
                            colo=3345442, bcol=3345442, fcol=16777215, fsiz=11, lbltrans=1, winpos=1, name='山田 花子')
    splash = bed.wait_window('splash', pid=pid)
    poll('the picture on screen', lambda: bed.pixel(splash.left + 120, splash.top + 120) != '000000')
    shoot(bed, splash, folder + 'splash.png', margin=24)

    bed.options_from_splash(pid)
    guidance_in_place(bed, pid)
    shoot_dialog(bed, pid, '位置設定', 'ポジション設定', folder + 'position-dialog.png')

    spin = bed.control('Option', klass='edit', width=61 * bed.dpi // 96)
    bed.click(spin.left + 10, spin.top + 8)
    shoot(bed, bed.window('Option', pid), folder + 'option-guidance.png')

    shoot_dialog(bed, pid, 'About', 'About', folder + 'about.png', 'Return')
    shoot_dialog(bed, pid, 'スタートアップに登録', '登録しますか？', folder + 'startup-registration.png')
    shoot_effects_dialog(bed, pid, folder + 'effects-dialog.png')
    bed.close(pid)

    shoot_shaped_logo(bed, folder)


def shoot_shaped_logo(bed, folder):
    """The PNG logo with a transparent background over the desktop and over another run's splash window."""
    first = launch_normal_run(bed, 'lumivex-logo.jpg', '', (120, 330), b_size=0, winpos=1, fsiz=1)
    under = bed.wait_window('splash', pid=first)
    poll('the picture behind on screen', lambda: bed.pixel(under.left + 120, under.top + 120) != '000000')

    sun = (380 + 100, 250 + 100)  # the emblem's centre, over the window behind until the logo shows
    before = bed.pixel(*sun)
    pid = launch_normal_run(bed, 'lumivex-shaped.png', '起動中・・・', (380, 250), b_size=0, winpos=1,
                            fcol=16777215, fsiz=11, lbltrans=0)
    splash = bed.wait_window('splash', pid=pid)
    poll('the shaped logo on screen', lambda: bed.pixel(*sun) != before)
    shoot(bed, splash, folder + 'splash-shaped.png', margin=60)
    bed.close(pid)
    bed.close(first)


def shoot_effects_dialog(bed, pid, name):
    """The effects dialog opened from the option dialog, its fade-in time focused and explained."""
    effects = bed.open_dialog(pid, '効果設定', '効果')
    spin = bed.control('効果', klass='edit')
    bed.click(spin.left + 10, spin.top + 8)
    shoot(bed, effects, name)
    bed.dismiss(pid, '効果', 'Escape')


def take_scaled(bed):
    """The option dialog at 150 % display scaling, in a prefix whose screen has 144 dpi."""
    pid = launch_normal_run(bed, 'lumivex-logo.jpg', '起動中・・・  Lumivex 0.006', winpos=1, name='山田 花子')
    bed.options_from_splash(pid)
    shoot(bed, guidance_in_place(bed, pid), 'option-150-percent.png')
    shoot_effects_dialog(bed, pid, 'effects-150-percent.png')
    bed.close(pid)


def take_two_monitors(bed):
    """Two monitors side by side, the primary on the left: the logo centred on the primary, the whole desk at half
    size with each monitor in a bezel."""
    subprocess.run(['xsetroot', '-solid', '#2f5d8a'], env=bed.env, check=True)
    pid = launch_normal_run(bed, 'lumivex-logo.jpg', '起動中・・・  Lumivex 0.006', b_size=4, colo=3345442,
                            bcol=3345442, fcol=16777215, fsiz=11, lbltrans=1)
    splash = bed.wait_window('splash', pid=pid)
    poll('the picture on screen', lambda: bed.pixel(splash.left + 120, splash.top + 120) != '000000')
    desk = os.path.join(bed.tmp, 'desk.png')
    capture(bed, desk)
    bezel = ['+repage', '-bordercolor', '#1c1c1c', '-border', '14']
    subprocess.run(['convert', desk, '(', '-clone', '0', '-crop', '1024x768+0+0', *bezel, ')',
                    '(', '-clone', '0', '-crop', '1024x768+1024+0', *bezel, ')', '-delete', '0', '+append',
                    '-resize', '50%', '-define', 'png:exclude-chunk=date,time',  # the same file from the same pixels
                    os.path.join(DOCS, 'two-monitors.png')], check=True)
    print('docs/two-monitors.png')
    bed.close(pid)


if __name__ == '__main__':
    failed = harness.run([('Screenshots', take)])
    failed = harness.run([('ScreenshotsOnTwoMonitors', take_two_monitors)], monitors='right') or failed
    failed = harness.run([('ScreenshotsAt150Percent', take_scaled), ('EveryWindowAt150Percent', take)], dpi=144) or failed
    sys.exit(failed)
