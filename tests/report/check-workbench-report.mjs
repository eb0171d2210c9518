// The gauge workbench's report pages in a real browser (Debian's Chromium
// driven by playwright-core): the workbench runs the kit's panel window, the
// designer-style fixture and two small fixtures of this folder, then the
// pages are opened from the file system and checked against each run's
// log.jsonl.
//
//   node check-workbench-report.mjs TOOL SOURCE_DIR WORK_DIR
//
// WORK_DIR is emptied; it keeps the runs and workbench-report-ra.png (the kit
// window's report at its first RA picture) afterwards.
import fs from 'node:fs';
import path from 'node:path';
import { check, finish, runTool as run, readLog, launch, open as openIn, setSlider, checkIndex } from './browser.mjs';

const [tool, source, work] = process.argv.slice(2);
if (!tool || !source || !work) {
  console.error('usage: node check-workbench-report.mjs TOOL SOURCE_DIR WORK_DIR');
  process.exit(2);
}
const runTool = (args) => run(tool, args);
const fixtures = path.join(source, 'tests/workbench/fixtures');
const ours = path.join(source, 'tests/report/fixtures');

// ---- The runs -------------------------------------------------------------

fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(work, { recursive: true });
const kit = path.join(work, 'kit');
const nd = path.join(work, 'designer');
const hostile = path.join(work, 'hostile');
const plain = path.join(work, 'no-text');
const off = path.join(work, 'no-report');
const kitArgs = ['--panel', path.join(source, 'docs/kit/panel.cfg.txt'), '--window', '9', '-b', 'head-on'];
const stdout = runTool([...kitArgs, '-o', kit]);
check('the summary ends with the index path',
  stdout.trim().split('\n').at(-1) === `Report: ${path.join(kit, 'index.html')}`, stdout);
runTool(['--gauge', path.join(fixtures, 'designer_nd.xml'), path.join(fixtures, 'designer_nd.json'), '-o', nd]);
runTool(['--gauge', path.join(ours, 'hostile_text.xml'), path.join(ours, 'hostile_text.json'), '-o', hostile]);
runTool(['--gauge', path.join(ours, 'no_text.xml'), path.join(ours, 'hostile_text.json'), '-o', plain]);
runTool([...kitArgs, '-o', off, '--no-report']);
check('--no-report writes no page but the log and the sheet',
  fs.existsSync(path.join(off, 'head-on', 'log.jsonl')) &&
  fs.existsSync(path.join(off, 'head-on', 'window09-sheet.png')) &&
  !fs.existsSync(path.join(off, 'index.html')) && !fs.existsSync(path.join(off, 'head-on', 'report.html')));

// What a run logged, per view and picture: [{time, image, mouse, gauges:
// [per gauge of the run: its frame line's entry]}], the L: values, and the
// rest of the log.
function runLog(dir) {
  const log = readLog(path.join(dir, 'log.jsonl'));
  const header = log[0];
  const views = new Map(header.views.map((v) => [v.name, []]));
  const pictures = [];
  for (const line of log.filter((l) => l.type === 'frame')) {
    const frames = views.get(line.view);
    const k = frames.length;
    frames.push(line);
    pictures[k] = pictures[k] || { time: line.time, gauges: [], L: line.L };
    const own = header.gauges.map((g, n) => [g, n]).filter(([g]) => g.view === line.view);
    own.forEach(([, n], j) => { pictures[k].gauges[n] = line.gauges[j]; });
  }
  return {
    header, views, pictures,
    clicks: log.filter((l) => l.type === 'click'),
    events: log.filter((l) => l.type === 'event'),
    summary: log.find((l) => l.type === 'summary'),
  };
}

// A logged value as the page writes it.
function asShown(v) {
  if (v === null || v === undefined) return '-';
  if (v === '') return '(empty)';
  return String(v);
}

// What the page shows at the current picture.
async function shown(page) {
  return page.evaluate(() => ({
    images: Object.fromEntries([...document.querySelectorAll('img.frame')].map((i) => [i.dataset.view, i.getAttribute('src')])),
    mouse: Object.fromEntries([...document.querySelectorAll('.shot .mouse')].map((m) => [m.dataset.view, [+m.dataset.x, +m.dataset.y]])),
    clock: document.querySelector('#clock').textContent,
    texts: [...document.querySelectorAll('.texts-table tr[data-gauge]')].map((r) => ({
      gauge: +r.dataset.gauge, line: +r.dataset.line,
      shown: r.querySelector('[data-cell="shown"]').textContent,
      string: r.querySelector('[data-cell="string"]').textContent,
    })),
    props: [...document.querySelectorAll('td[data-prop]')].map((c) => ({
      gauge: +c.dataset.gauge, name: c.dataset.prop, text: c.textContent, changed: c.classList.contains('changed'),
    })),
    locals: Object.fromEntries([...document.querySelectorAll('td[data-local]')].map((c) => [c.dataset.local, c.textContent])),
    tooltips: [...document.querySelectorAll('td[data-tooltip]')].map((c) => c.textContent),
    cursor: +document.querySelector('svg.timeline .cursor').getAttribute('x1'),
  }));
}

// The page at picture k against the log's picture k: image and mouse per
// view, every text's state, tool-tip, C: property and L: variable.
function compare(name, seen, run, k) {
  const picture = run.pictures[k];
  const wrong = [];
  for (const [view, frames] of run.views) {
    const latest = frames.slice(0, k + 1).filter((f) => f.image).at(-1);
    if (seen.images[view] !== latest?.image) wrong.push(`${view} image ${seen.images[view]}`);
    if (JSON.stringify(seen.mouse[view]) !== JSON.stringify(frames[k].mouse)) wrong.push(`${view} mouse ${seen.mouse[view]}`);
  }
  const texts = picture.gauges.flatMap((g, n) => g.elements.filter((e) => 'string' in e).map((e) => ({
    gauge: n, line: e.line, shown: e.visible ? 'shown' : 'hidden', string: asShown(e.string),
  })));
  if (JSON.stringify(seen.texts) !== JSON.stringify(texts)) wrong.push(`texts ${JSON.stringify(seen.texts)} vs ${JSON.stringify(texts)}`);
  const tips = picture.gauges.map((g) => asShown(g.tooltip));
  if (JSON.stringify(seen.tooltips) !== JSON.stringify(tips)) wrong.push(`tool-tips ${seen.tooltips}`);
  let props = 0;
  picture.gauges.forEach((g, n) => {
    for (const [prop, value] of Object.entries(g.C)) {
      props++;
      const cell = seen.props.find((p) => p.gauge === n && p.name === prop);
      if (cell?.text !== asShown(value)) wrong.push(`${prop} ${cell?.text} vs ${value}`);
    }
  });
  if (seen.props.length !== props) wrong.push(`${seen.props.length} properties shown, ${props} logged`);
  const locals = Object.fromEntries(Object.entries(picture.L).map(([l, v]) => [l, asShown(v)]));
  if (JSON.stringify(seen.locals) !== JSON.stringify(locals)) wrong.push(`L: ${JSON.stringify(seen.locals)}`);
  check(`${name}: picture ${k} shows the log's`, wrong.length === 0, wrong.join('; '));
}

// The table of first showings against the log's summary.
async function checkFirsts(page, name, run) {
  const rows = await page.$$eval('section.firsts tbody tr', (trs) => trs.map((r) => ({
    gauge: r.cells[0].textContent, label: r.cells[1].textContent,
    time: r.querySelector('a.jump') ? +r.querySelector('a.jump').dataset.time : null,
    string: r.cells[3].textContent,
  })));
  const expected = run.summary.texts.map((t) => ({
    gauge: t.gauge,
    label: path.basename(run.header.gauges.find((g) => g.name === t.gauge).file) + ':' + t.line,
    time: t.firstShown ? t.firstShown.time : null,
    string: t.firstShown ? t.firstShown.string : '',
  }));
  check(`${name}: the first showings are the log's`, rows.length > 0 && JSON.stringify(rows) === JSON.stringify(expected),
    `${JSON.stringify(rows)} vs ${JSON.stringify(expected)}`);
}

const frameAt = (run, t) => run.pictures.findIndex((p) => Math.abs(p.time - t) < 1e-6);

// ---- The browser ----------------------------------------------------------

const browser = await launch();
const open = (file) => openIn(browser.context, file);

try {
  // -- the kit window: pictures, texts and values against the log; advisory bands.
  {
    const run = runLog(path.join(kit, 'head-on'));
    const advisory = (p) => Math.max(...p.gauges.map((g) => g.C['va9vedored:advisory'] ?? 0));
    const ra = run.pictures.findIndex((p) => advisory(p) === 2);
    const { page, problems } = await open(path.join(kit, 'head-on', 'report.html'));
    const start = await shown(page);
    compare('kit', start, run, 0);
    await setSlider(page, ra);
    const atRa = await shown(page);
    compare('kit', atRa, run, ra);
    check('kit: the slider changes the picture, the texts and the values',
      JSON.stringify(start.images) !== JSON.stringify(atRa.images) &&
      JSON.stringify(start.texts) !== JSON.stringify(atRa.texts) && start.cursor !== atRa.cursor);
    check('kit: the clock shows the picture\'s time', atRa.clock.includes(`t = ${run.pictures[ra].time} s`), atRa.clock);
    // Values that changed since the picture before are marked, the others not.
    const before = run.pictures[ra - 1];
    const marks = atRa.props.filter((p) => p.changed !== (before.gauges[p.gauge].C[p.name] !== run.pictures[ra].gauges[p.gauge].C[p.name]));
    check('kit: exactly the changed values are marked', marks.length === 0 && atRa.props.some((p) => p.changed),
      marks.map((p) => p.name).join(' '));
    const band = await page.$eval('rect.band[data-level="RA"]', (b) => +b.dataset.frame);
    check('kit: the RA band starts at the first RA picture', band === ra, `${band} vs ${ra}`);
    await checkFirsts(page, 'kit', run);

    await page.focus('body');
    await page.keyboard.press('ArrowRight');
    compare('kit after the right arrow', await shown(page), run, ra + 1);
    await page.keyboard.press('ArrowLeft');
    await page.screenshot({ path: path.join(work, 'workbench-report-ra.png'), fullPage: true });
    check('kit opens without console errors', problems.length === 0, problems.join('; '));
    await page.close();
  }

  // -- the designer-style display: clicks, key events and the range knob.
  {
    const run = runLog(path.join(nd, 'designer-nd'));
    const { page, problems } = await open(path.join(nd, 'designer-nd', 'report.html'));
    for (const k of [0, frameAt(run, 16), frameAt(run, 53)]) {
      await setSlider(page, k);
      compare('designer', await shown(page), run, k);
    }
    await checkFirsts(page, 'designer', run);
    const ticks = await page.evaluate(() => ({
      clicks: [...document.querySelectorAll('.tick.click')].map((t) => ({ time: +t.dataset.time, x: +t.getAttribute('x1') })),
      events: [...document.querySelectorAll('.tick.event')].map((t) => ({ time: +t.dataset.time, name: t.dataset.name, x: +t.dataset.x })),
    }));
    check('designer: a tick per click', JSON.stringify(ticks.clicks.map((c) => c.time)) === JSON.stringify(run.clicks.map((c) => c.time)),
      JSON.stringify(ticks.clicks));
    check('designer: a tick per key event', JSON.stringify(ticks.events.map((e) => e.name)) === JSON.stringify(run.events.map((e) => e.name)),
      JSON.stringify(ticks.events));
    // The baro knob's key events come from wheel clicks: their ticks sit at
    // the click's, where the cursor stands at that picture.
    let paired = 0;
    for (const e of run.events) {
      const click = ticks.clicks.find((c) => c.time === e.time);
      if (!click) continue;
      paired++;
      const tick = ticks.events.find((t) => t.name === e.name && t.time === e.time);
      await setSlider(page, frameAt(run, e.time));
      const cursor = (await shown(page)).cursor;
      check(`designer: the ${e.name} tick sits at its click's time`,
        tick && Math.abs(tick.x - click.x) < 0.01 && Math.abs(cursor - click.x) < 0.01, `${tick?.x} ${click.x} ${cursor}`);
    }
    check('designer: some key events come from clicks', paired === 2, paired);
    const range = await page.$eval('polyline.series[data-series="L:ND range"]', (p) => p.dataset.frames.split(',').length);
    check('designer: the L:ND range timeline has a point per picture', range === run.pictures.length, range);
    check('designer opens without console errors', problems.length === 0, problems.join('; '));
    await page.close();
  }

  // -- texts from the gauge and the scenario stay text.
  {
    const run = runLog(path.join(hostile, 'hostile-text'));
    const { page, problems } = await open(path.join(hostile, 'hostile-text', 'report.html'));
    compare('hostile', await shown(page), run, 0);
    const seen = await page.evaluate(() => ({
      text: document.body.innerText,
      scripts: document.scripts.length,
      injected: document.querySelectorAll('main img:not(.frame), main i, h1 b, td b').length,
    }));
    for (const t of ['<script>alert(1)</script>', '<img src=x onerror=alert(2)>', '</td><i>tip</i>', 'a <b>bold</b> name']) {
      check(`hostile: ${t} shows as text`, seen.text.includes(t));
    }
    check('hostile: the page keeps its two scripts and adds no markup', seen.scripts === 2 && seen.injected === 0,
      `${seen.scripts} scripts, ${seen.injected} injected`);
    check('hostile opens without console errors or dialogs', problems.length === 0, problems.join('; '));
    await page.close();
  }

  // -- a run whose gauge has no text says so.
  {
    const { page, problems } = await open(path.join(plain, 'hostile-text', 'report.html'));
    const text = await page.evaluate(() => document.body.innerText);
    check('a run without texts says so', text.includes('The gauges have no text elements'), text.slice(0, 300));
    check('no-text opens without console errors', problems.length === 0, problems.join('; '));
    await page.close();
  }

  for (const dir of [kit, nd, hostile]) await checkIndex(browser.context, dir, 1);
} finally {
  await browser.close();
}

finish('workbench report pages');
