// What the report pages' browser tests share: the tally of checks, running
// the tool, reading its log, Debian's Chromium through playwright-core, and
// the checks every run's index must pass.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL, fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const CHROMIUM = '/usr/bin/chromium';

let passed = 0;
let failed = 0;

export function check(name, ok, detail) {
  if (ok) {
    passed++;
  } else {
    failed++;
    console.log(`FAILED: ${name}${detail === undefined ? '' : ': ' + detail}`);
  }
}

// Prints the tally and exits: 0 when every check passed (and there was one).
export function finish(label) {
  console.log(`${label}: ${passed} passed, ${failed} failed`);
  process.exit(failed === 0 && passed > 0 ? 0 : 1);
}

export function runTool(tool, args) {
  return execFileSync(tool, [...args, '--progress', 'never'], { encoding: 'utf8' });
}

export function readLog(file) {
  return fs.readFileSync(file, 'utf8').trim().split('\n').map((l) => JSON.parse(l));
}

// Starts the browser with a throw-away profile; close() ends both.
export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'cs-report-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    viewport: { width: 1280, height: 1000 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  return {
    context,
    close: async () => {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Opens a page and records what the console, the network and dialogs say
// about it (a script a page let in would most likely open a dialog).
export async function open(context, file) {
  const page = await context.newPage();
  const problems = [];
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  page.on('pageerror', (e) => problems.push('script: ' + e.message));
  page.on('requestfailed', (r) => problems.push('request: ' + r.url()));
  page.on('dialog', (d) => {
    problems.push('dialog: ' + d.message());
    d.dismiss();
  });
  await page.goto(pathToFileURL(file).href);
  await page.waitForLoadState('load');
  return { page, problems };
}

export async function setSlider(page, frame) {
  await page.$eval('#slider', (s, v) => {
    s.value = String(v);
    s.dispatchEvent(new Event('input', { bubbles: true }));
  }, frame);
}

// The run's index.html: every link and image resolves, it lists `count`
// reports, and each report link opens the report whose heading is the
// scenario's title (or name) as its log starts with.
export async function checkIndex(context, runDir, count) {
  const { page, problems } = await open(context, path.join(runDir, 'index.html'));
  const links = await page.$$eval('a[href]', (as) => as.map((a) => a.href));
  const missing = links.filter((l) => !fs.existsSync(fileURLToPath(l)));
  check(`every link of ${runDir}/index.html names an existing file`, links.length > 0 && missing.length === 0,
    missing.join(' '));
  const broken = await page.$$eval('img', (is) => is.filter((i) => !i.complete || i.naturalWidth === 0).map((i) => i.src));
  check(`every image of ${runDir}/index.html loads`, broken.length === 0, broken.join(' '));
  const reports = await page.$$eval('h2 a[href$="report.html"]', (as) => as.map((a) => a.getAttribute('href')));
  check(`${runDir}/index.html links every scenario`, reports.length === count, reports.join(' '));
  for (const href of reports) {
    await page.click(`h2 a[href="${href}"]`);
    await page.waitForLoadState('load');
    const opened = page.url();
    const title = await page.$eval('h1', (h) => h.textContent);
    const expected = readLog(path.join(runDir, href.replace('/report.html', ''), 'log.jsonl'))[0];
    check(`the index link ${href} opens its report`, opened.endsWith(href) &&
      title === (expected.title || expected.scenario), `${opened} ${title}`);
    await page.goBack();
  }
  check(`${runDir}/index.html opens without console errors`, problems.length === 0, problems.join('; '));
  await page.close();
}
