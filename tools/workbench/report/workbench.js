// The gauge workbench's report page, from the JSON block the workbench
// embedded (the player and helpers: window.Report): beside the pictures what
// the gauges showed at that picture (every text element, the tool-tips, the
// C: properties of each gauge callback, the L: variables; what changed since
// the picture before is marked), then when each text first showed, then the
// timelines of the variables the gauges use with the advisory levels as
// bands, the first showings, the clicks and the key events.
(function () {
  'use strict';

  const { el, note, seconds } = window.Report;
  const data = JSON.parse(document.getElementById('report-data').textContent);
  const root = document.getElementById('report');
  const gauges = data.gauges;

  const page = window.Report.player(root, data.views, {
    duration: data.duration,
    noFrames: 'The gauges drew no picture in this run, so there is nothing to watch' +
      (data.views.length === 0 ? ' (no gauge was run).' : '.'),
  });

  // A value as the tables show it: texts as they are, numbers as the log has them.
  function shown(v) {
    if (v === null || v === undefined) return '-';
    if (v === '') return '(empty)';
    return String(v);
  }

  // ---- What the gauges showed at the picture -------------------------------

  const updaters = []; // (i, previous) => void, one per table row

  // A cell that follows the slider: `value(i)` is its value at frame i; it
  // is marked when that changed since frame i - 1; `extra` adds to it.
  function follow(cell, value, extra) {
    updaters.push((i, previous) => {
      const v = value(i);
      cell.textContent = shown(v);
      cell.className = v === '' ? 'empty' : '';
      if (previous >= 0 && i > 0 && JSON.stringify(value(i - 1)) !== JSON.stringify(v)) {
        cell.classList.add('changed');
      }
      if (extra) extra(cell, i);
    });
  }

  function group(body, label, columns) {
    body.append(el('tr', { class: 'group' }, [el('th', { colspan: String(columns), text: label })]));
  }

  function textsTable() {
    const body = el('tbody');
    let rows = 0;
    gauges.forEach((g, n) => {
      if (!g.texts.length) return;
      group(body, g.name + ' (' + g.view + ')', 3);
      g.texts.forEach((t, k) => {
        const where = el('td', { class: 'name where', text: t.label });
        const visible = el('td', { 'data-cell': 'shown' });
        const string = el('td', { 'data-cell': 'string' });
        const frame = (i) => g.frames[Math.min(i, g.frames.length - 1)];
        follow(visible, (i) => (frame(i).shown[k] ? 'shown' : 'hidden'));
        follow(string, (i) => frame(i).strings[k], (cell, i) => {
          if (!frame(i).shown[k]) cell.classList.add('hidden');
        });
        body.append(el('tr', { 'data-gauge': String(n), 'data-line': String(t.line) }, [where, visible, string]));
        rows++;
      });
    });
    if (!rows) return note('The gauges have no text elements.');
    return el('table', { class: 'values-table texts-table' }, [
      el('thead', {}, [el('tr', {}, [el('th', { text: 'Text' }), el('th', { text: '' }), el('th', { text: 'String' })])]),
      body,
    ]);
  }

  function valuesTable() {
    const body = el('tbody');
    group(body, 'Tool-tip', 2);
    gauges.forEach((g, n) => {
      const cell = el('td', { 'data-tooltip': String(n) });
      follow(cell, (i) => g.frames[Math.min(i, g.frames.length - 1)].tooltip);
      body.append(el('tr', {}, [el('td', { class: 'name', text: g.name }), cell]));
    });
    let unused = 0;
    gauges.forEach((g, n) => {
      if (!g.properties.length) return;
      group(body, 'C: ' + g.name, 2);
      const frame = (i) => g.frames[Math.min(i, g.frames.length - 1)];
      g.properties.forEach((name, k) => {
        const cell = el('td', { 'data-gauge': String(n), 'data-prop': name });
        follow(cell, (i) => frame(i).C[k], (c, i) => {
          if (frame(i).written.includes(k)) {
            c.classList.add('written');
            c.title = 'written by the gauge since the frame before';
          } else {
            c.removeAttribute('title');
          }
        });
        // Properties no script of the gauge names fold away.
        const used = g.chart.includes(k) || g.frames.some((f) => f.written.includes(k));
        unused += used ? 0 : 1;
        body.append(el('tr', used ? {} : { class: 'unused' }, [el('td', { class: 'name', text: name }), cell]));
      });
    });
    if (data.localNames.length) {
      group(body, 'L: variables', 2);
      data.localNames.forEach((name, k) => {
        const cell = el('td', { 'data-local': name });
        follow(cell, (i) => data.locals[Math.min(i, data.locals.length - 1)][k]);
        body.append(el('tr', {}, [el('td', { class: 'name', text: name }), cell]));
      });
    }
    const table = el('table', { class: 'values-table' }, [
      el('thead', {}, [el('tr', {}, [el('th', { text: 'Value' }), el('th', { text: 'At this frame' })])]),
      body,
    ]);
    if (!unused) return table;
    const every = el('input', { type: 'checkbox', id: 'every-property' });
    every.addEventListener('change', () => table.classList.toggle('every', every.checked));
    return el('div', {}, [
      el('label', { class: 'toggle' }, [every, ' every C: property (' + unused +
        ' that no script of its gauge names)']),
      table,
    ]);
  }

  if (page) {
    page.watch.append(el('div', { class: 'values' }, [
      el('h2', { text: 'At this frame' }), textsTable(), valuesTable(),
    ]));
  }

  // ---- When each text first showed -----------------------------------------

  function firstsSection() {
    const section = el('section', { class: 'firsts' }, [el('h2', { text: 'Texts: first showing' })]);
    const body = el('tbody');
    gauges.forEach((g, n) => {
      for (const t of g.firstShown) {
        const when = t.time === null ? el('td', { class: 'none', text: 'never' }) : el('td', {}, [
          page ? el('a', { href: '#', class: 'jump', text: seconds(t.time), 'data-time': String(t.time) })
            : seconds(t.time)]);
        body.append(el('tr', { 'data-gauge': String(n), 'data-line': String(t.line) }, [
          el('td', { text: g.name }), el('td', { class: 'name where', text: t.label }), when,
          el('td', { class: 'string', text: t.string === null ? '' : t.string }),
        ]));
      }
    });
    if (!body.children.length) {
      section.append(note('The gauges have no text elements: nothing to show.'));
    } else {
      section.append(el('table', { class: 'firsts-table' }, [
        el('thead', {}, [el('tr', {}, ['Gauge', 'Text', 'First shown', 'Showing'].map((h) => el('th', { text: h })))]),
        body,
      ]));
    }
    root.append(section);
    section.addEventListener('click', (e) => {
      const a = e.target.closest('a.jump');
      if (!a || !page) return;
      e.preventDefault();
      page.show(frameAt(Number(a.dataset.time)));
    });
  }

  // The picture at or just before time t.
  function frameAt(t) {
    let best = 0;
    for (let i = 0; i < page.frameCount; ++i) {
      if (page.timeAt(i) <= t + 1e-9) best = i;
    }
    return best;
  }

  firstsSection();
  if (!page) return;
  window.WorkbenchTimelines(page, data);
  page.onFrame((i, previous) => {
    for (const u of updaters) u(i, previous);
  });
  page.start();
})();
