// The workbench page's timelines, one chart on the run's time axis: the
// clicks and key events as ticks, each gauge's advisory level (its
// C:...:advisory, 0 none, 1 TA, 2 RA) as bands, the first showing of each
// text, then a step line per L: variable and per numeric C: property the
// gauges use, each scaled to its own range. The cursor follows the slider.
window.WorkbenchTimelines = function (page, data) {
  'use strict';

  const { el, svgEl, note, seconds, W, PLOT } = window.Report;
  const { frameCount, timeAt, xOf } = page;
  const ROW_GAP = 8;
  const LABEL_H = 13;
  const PLOT_H = 26;
  const STRIP_H = 13;
  const ADVISORY_NAMES = ['none', 'TA', 'RA'];
  const clip = (text, n) => (text.length > n ? text.slice(0, n - 1) + '\u2026' : text);

  // The end of frame i's span on the axis.
  function frameEnd(i) {
    if (i + 1 < frameCount) return xOf(timeAt(i + 1));
    const step = frameCount > 1 ? timeAt(frameCount - 1) - timeAt(frameCount - 2) : 1;
    return Math.min(PLOT.right, xOf(timeAt(frameCount - 1) + step));
  }

  // Every series to chart: [{label, values (one per frame), id}].
  function allSeries() {
    const out = [];
    data.gauges.forEach((g, n) => {
      for (const k of g.chart) {
        if (k === g.advisory) continue; // drawn as bands
        const values = [];
        for (let i = 0; i < frameCount; ++i) {
          const v = g.frames[Math.min(i, g.frames.length - 1)].C[k];
          values.push(typeof v === 'number' ? v : null);
        }
        if (values.some((v) => v !== null)) {
          out.push({ label: g.name + '  C:' + g.properties[k], values, id: 'C:' + n + ':' + g.properties[k] });
        }
      }
    });
    data.localNames.forEach((name, k) => {
      const values = [];
      for (let i = 0; i < frameCount; ++i) {
        const v = data.locals[Math.min(i, data.locals.length - 1)][k];
        values.push(typeof v === 'number' ? v : null);
      }
      out.push({ label: 'L:' + name, values, id: 'L:' + name });
    });
    return out;
  }

  function label(svg, x, y, text, cls) {
    svg.append(svgEl('text', { x, y, class: cls || '' }, text));
  }

  function ticks(svg, y) {
    label(svg, PLOT.left - 6, y + 15, 'input', 'side');
    svg.append(svgEl('rect', { class: 'strip-ground', x: PLOT.left, y, width: PLOT.right - PLOT.left, height: 20 }));
    for (const c of data.clicks) {
      const x = xOf(c.time);
      const tick = svgEl('line', {
        class: 'tick click' + (c.line ? '' : ' missed'), x1: x, x2: x, y1: y, y2: y + 20,
        'data-time': c.time, 'data-kind': c.kind,
      });
      tick.append(svgEl('title', {}, c.kind + ' at ' + seconds(c.time) + ' on ' + c.view + ': ' +
        (c.line ? 'taken by ' + c.gauge + ' line ' + c.line : 'no <Click> took it')));
      svg.append(tick);
    }
    for (const e of data.events) {
      const x = xOf(e.time);
      const tick = svgEl('path', {
        class: 'tick event', d: `M${x - 4},${y + 20} L${x + 4},${y + 20} L${x},${y + 12} Z`,
        'data-time': e.time, 'data-name': e.name, 'data-x': x,
      });
      tick.append(svgEl('title', {}, e.name + ' ' + e.value + ' at ' + seconds(e.time) + ' from ' + e.gauge));
      svg.append(tick);
    }
    return y + 20;
  }

  function advisoryBands(svg, g, y) {
    label(svg, PLOT.left, y - 3, g.name + '  advisory (C:' + g.properties[g.advisory] + ')', 'row');
    svg.append(svgEl('rect', { class: 'strip-ground', x: PLOT.left, y, width: PLOT.right - PLOT.left, height: STRIP_H }));
    let start = -1;
    let level = 0;
    const flush = (end) => {
      if (start >= 0 && level > 0) {
        const x = xOf(timeAt(start));
        svg.append(svgEl('rect', {
          class: 'band level' + level, x, y, width: Math.max(0.5, (end < frameCount ? xOf(timeAt(end)) : frameEnd(end - 1)) - x),
          height: STRIP_H, 'data-level': ADVISORY_NAMES[level] || String(level), 'data-frame': start,
        }));
      }
    };
    for (let i = 0; i <= frameCount; ++i) {
      const v = i < frameCount ? g.frames[Math.min(i, g.frames.length - 1)].C[g.advisory] : -1;
      if (i === frameCount || v !== level) {
        flush(i);
        start = i;
        level = typeof v === 'number' ? v : 0;
      }
    }
    return y + STRIP_H;
  }
  function firstShowings(svg, y) {
    const firsts = [];
    data.gauges.forEach((g) => g.firstShown.forEach((t) => t.time !== null && firsts.push(t)));
    const height = 3 * 12 + 4;
    label(svg, PLOT.left - 6, y + 14, 'texts', 'side');
    svg.append(svgEl('rect', { class: 'strip-ground', x: PLOT.left, y, width: PLOT.right - PLOT.left, height }));
    firsts.sort((a, b) => a.time - b.time).forEach((t, n) => {
      const x = xOf(t.time);
      const mark = svgEl('line', { class: 'first', x1: x, x2: x, y1: y, y2: y + height, 'data-time': t.time, 'data-label': t.label });
      mark.append(svgEl('title', {}, t.label + ' first showed ' + JSON.stringify(t.string) + ' at ' + seconds(t.time)));
      svg.append(mark);
      svg.append(svgEl('text', { x: x + 3, y: y + 11 + 12 * (n % 3), class: 'first-label' }, clip(t.string, 22)));
    });
    return y + height;
  }

  function seriesRow(svg, s, y) {
    const found = s.values.filter((v) => v !== null);
    const lo = Math.min(...found);
    const hi = Math.max(...found);
    const top = y + LABEL_H;
    const yOf = (v) => (hi === lo ? top + PLOT_H / 2 : top + PLOT_H - ((v - lo) / (hi - lo)) * PLOT_H);
    label(svg, PLOT.left, top - 3, s.label, 'row');
    svg.append(svgEl('rect', { class: 'strip-ground', x: PLOT.left, y: top, width: PLOT.right - PLOT.left, height: PLOT_H }));
    label(svg, PLOT.left - 6, top + 9, String(hi), 'side');
    if (hi !== lo) label(svg, PLOT.left - 6, top + PLOT_H, String(lo), 'side');
    // A step line: each value holds until the next frame.
    const points = [];
    const frames = [];
    s.values.forEach((v, i) => {
      if (v === null) return;
      points.push(xOf(timeAt(i)).toFixed(1) + ',' + yOf(v).toFixed(1), frameEnd(i).toFixed(1) + ',' + yOf(v).toFixed(1));
      frames.push(i);
    });
    svg.append(svgEl('polyline', { class: 'series', points: points.join(' '), 'data-series': s.id, 'data-frames': frames.join(',') }));
    const now = svgEl('text', { x: PLOT.right + 6, y: top + PLOT_H / 2 + 4, class: 'now', 'data-series': s.id });
    svg.append(now);
    return { bottom: top + PLOT_H, now, values: s.values };
  }

  const section = el('section', { class: 'timelines' }, [el('h2', { text: 'Timelines' })]);
  document.getElementById('report').append(section);
  const series = allSeries();
  const withAdvisory = data.gauges.filter((g) => g.advisory !== null);
  section.append(el('div', { class: 'legend' }, [
    el('span', { class: 'key' }, [el('span', { class: 'stroke', style: 'border-color: var(--click)' }), 'click']),
    el('span', { class: 'key' }, [el('span', { class: 'triangle' }), 'key event']),
    el('span', { class: 'key' }, [el('span', { class: 'swatch level1' }), 'TA']),
    el('span', { class: 'key' }, [el('span', { class: 'swatch level2' }), 'RA']),
    el('span', { class: 'key' }, [el('span', { class: 'stroke', style: 'border-color: var(--first); border-top-style: dashed' }), 'a text first showing']),
  ]));
  if (!series.length && !withAdvisory.length) {
    section.append(note('The gauges use no L: variable and no numeric C: property: no values to chart.'));
  }

  const svg = svgEl('svg', { class: 'timeline workbench', role: 'img', 'aria-label': 'timelines of the run' });
  let y = 10;
  y = ticks(svg, y) + ROW_GAP + LABEL_H;
  for (const g of withAdvisory) y = advisoryBands(svg, g, y) + ROW_GAP + LABEL_H;
  y = firstShowings(svg, y - LABEL_H) + ROW_GAP;
  // Values that never change get a line of text instead of a chart.
  const constant = series.filter((s) => s.values.every((v) => v === s.values[0]));
  const rows = series.filter((s) => !constant.includes(s)).map((s) => {
    const row = seriesRow(svg, s, y);
    y = row.bottom + ROW_GAP;
    return row;
  });
  page.timeAxis(svg, y);
  const height = y + 22;
  page.cursor(svg, 6, y);
  svg.setAttribute('viewBox', '0 0 ' + W + ' ' + height);
  section.append(svg);
  if (constant.length) {
    section.append(el('p', { class: 'constant' }, ['The same through the run: ',
      ...constant.flatMap((s, n) => [n ? ', ' : '', el('span', { 'data-series': s.id, text: s.label + ' = ' + s.values[0] })])]));
  }

  page.onFrame((i) => {
    for (const r of rows) r.now.textContent = r.values[i] === null ? '-' : String(r.values[i]);
  });
};
