// The preview tool's report pages in a real browser (Debian's Chromium driven
// by playwright-core): the tool renders a few scenarios, then the pages are
// opened from the file system and checked against the run's log.jsonl.
//
//   node check-report.mjs TOOL SCENARIO_DIR WORK_DIR
//
// WORK_DIR is emptied; it keeps the runs and report-head-on.png afterwards.
import fs from 'node:fs';
import path from 'node:path';
import { check, finish, runTool as run, readLog, launch, open as openIn, setSlider, checkIndex } from './browser.mjs';

const [tool, scenarioDir, work] = process.argv.slice(2);
if (!tool || !scenarioDir || !work) {
  console.error('usage: node check-report.mjs TOOL SCENARIO_DIR WORK_DIR');
  process.exit(2);
}
const runTool = (args) => run(tool, args);

// ---- The runs -------------------------------------------------------------

fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(work, { recursive: true });
const out = path.join(work, 'run');
const empty = path.join(work, 'no-frames');
const off = path.join(work, 'no-report');
const stdout = runTool([path.join(scenarioDir, 'hostile-text.json'), '-b', 'head-on',
  '-b', 'below-1500', '-o', out]);
const lines = stdout.trim().split('\n');
check('the summary ends with the index path', lines.at(-1) === `Report: ${path.join(out, 'index.html')}`,
  lines.at(-1));
runTool([path.join(scenarioDir, 'radar-only.json'), '-d', 'tcas', '-o', empty]);
runTool([path.join(scenarioDir, 'hostile-text.json'), '-o', off, '--no-report']);
check('--no-report writes no page', fs.existsSync(path.join(off, 'hostile-text', 'log.jsonl')) &&
  !fs.existsSync(path.join(off, 'index.html')) &&
  !fs.existsSync(path.join(off, 'hostile-text', 'report.html')));

// ---- The browser ----------------------------------------------------------

const browser = await launch();
const open = (file) => openIn(browser.context, file);

// What the page shows for one display at the current frame.
async function shown(page, display) {
  return page.evaluate((d) => ({
    image: document.querySelector(`img.frame[data-view="${d}"]`)?.getAttribute('src'),
    clock: document.querySelector('#clock').textContent,
    values: Object.fromEntries([...document.querySelectorAll(`td[data-display="${d}"]`)]
      .map((c) => [c.dataset.prop, c.textContent])),
    cursor: document.querySelector('svg.timeline .cursor')?.getAttribute('x1'),
  }), display);
}

// A log value as the page writes it.
function asShown(v) {
  if (v === null) return 'refused';
  if (v === '') return '(empty)';
  return String(v);
}

try {
  // -- head-on: player, values and the timeline against the log.
  {
    const dir = path.join(out, 'head-on');
    const log = readLog(path.join(dir, 'log.jsonl'));
    const frames = log.filter((r) => r.type === 'frame' && r.display === 'tcas');
    const summary = log.find((r) => r.type === 'summary' && r.display === 'tcas').intruders[0];
    const ra = summary.firstRA.frame;
    const { page, problems } = await open(path.join(dir, 'report.html'));

    const start = await shown(page, 'tcas');
    await setSlider(page, ra);
    const atRa = await shown(page, 'tcas');
    check('the slider changes the image', start.image !== atRa.image, `${start.image} ${atRa.image}`);
    check('the slider changes the time', start.clock !== atRa.clock && atRa.clock.includes(`t = ${frames[ra].time} s`),
      atRa.clock);
    check('the slider moves the chart cursor', start.cursor !== atRa.cursor);
    const latestImage = frames.slice(0, ra + 1).filter((f) => f.image).at(-1).image;
    check('the image is the latest kept at or before the frame', atRa.image === latestImage, atRa.image);
    for (const [frame, seen] of [[0, start], [ra, atRa]]) {
      const expected = Object.fromEntries(Object.entries(frames[frame].properties).map(([k, v]) => [k, asShown(v)]));
      const wrong = Object.keys(expected).filter((k) => seen.values[k] !== expected[k]);
      check(`the values of frame ${frame} are the log's`,
        wrong.length === 0 && Object.keys(seen.values).length === Object.keys(expected).length,
        wrong.map((k) => `${k}: ${seen.values[k]} vs ${expected[k]}`).join(', '));
    }
    check('the values change between the frames', start.values.advisoryId !== atRa.values.advisoryId);

    await page.focus('body');
    await page.keyboard.press('ArrowRight');
    check('the right arrow steps one frame', (await shown(page, 'tcas')).clock.includes(`t = ${frames[ra + 1].time} s`));
    await page.keyboard.press('ArrowLeft');

    // One chart point per frame in which a display showed the aircraft.
    const all = log.filter((r) => r.type === 'frame');
    const foundFrames = frames.map((f) => f.frame).filter((n) =>
      all.some((r) => r.frame === n && r.aircraft.some((a) => a.id === summary.id && a.found)));
    const chart = await page.evaluate((id) => {
      const svg = document.querySelector(`svg.timeline[data-id="${id}"]`);
      const frames = [...svg.querySelectorAll('.distance')].flatMap((p) => p.dataset.frames.split(',').map(Number));
      const points = [...svg.querySelectorAll('polyline.distance')]
        .flatMap((p) => p.getAttribute('points').trim().split(/\s+/).map((xy) => +xy.split(',')[0]));
      const ta = svg.querySelector('rect.band[data-display="tcas"][data-level="TA"]');
      return { frames, points, taFrame: ta && +ta.dataset.frame, taX: ta && +ta.getAttribute('x') };
    }, summary.id);
    check('the chart has one point per frame', JSON.stringify(chart.frames) === JSON.stringify(foundFrames),
      `${chart.frames.length} points, ${foundFrames.length} frames`);
    check('the TA band starts at the first TA frame', chart.taFrame === summary.firstTA.frame,
      `${chart.taFrame} vs ${summary.firstTA.frame}`);
    const taPoint = chart.points[chart.frames.indexOf(summary.firstTA.frame)];
    check('the TA band starts at the first TA point', Math.abs(chart.taX - taPoint) < 0.2, `${chart.taX} vs ${taPoint}`);

    await setSlider(page, ra);
    await page.screenshot({ path: path.join(work, 'report-head-on.png'), fullPage: true });
    check('head-on opens without console errors', problems.length === 0, problems.join('; '));
    await page.close();
  }

  // -- texts from the scenario stay text; a scenario without traffic says so.
  {
    const scenario = JSON.parse(fs.readFileSync(path.join(scenarioDir, 'hostile-text.json'), 'utf8'));
    const { page, problems } = await open(path.join(out, 'hostile-text', 'report.html'));
    const seen = await page.evaluate(() => ({
      h1: document.querySelector('h1').textContent,
      expect: document.querySelector('.expect').textContent,
      injected: document.querySelectorAll('h1 *, .expect img, body > b').length,
      scripts: document.scripts.length,
      text: document.body.innerText,
    }));
    check('a hostile title is shown as text', seen.h1 === scenario.title && seen.injected === 0, seen.h1);
    check('a hostile expectation is shown as text', seen.expect.endsWith(scenario.expect), seen.expect);
    check('the page keeps its two scripts', seen.scripts === 2, seen.scripts);
    check('a run without traffic says so', seen.text.includes('No traffic in this scenario'));
    check('hostile-text opens without console errors', problems.length === 0, problems.join('; '));
    await page.close();
  }

  // -- a run in which no display drew a frame.
  {
    const { page, problems } = await open(path.join(empty, 'radar-only', 'report.html'));
    const text = await page.evaluate(() => document.body.innerText);
    check('a run without frames says so', text.includes('No display drew a frame'), text.slice(0, 200));
    check('no-frames opens without console errors', problems.length === 0, problems.join('; '));
    await page.close();
  }

  // -- the index: every link and image resolves, and each report link opens its report.
  await checkIndex(browser.context, out, 3);
} finally {
  await browser.close();
}

finish('report pages');
