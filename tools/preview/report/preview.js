// The preview's report page: the values the module published at the frame
// beside the player, and per intruder a timeline of distance and relative
// altitude over bands of its threat level, from the JSON block that the
// preview tool embedded (the player and helpers: window.Report).
(function () {
  'use strict';

  const { el, svgEl, note, seconds, signed, niceStep, niceCeil, W, PLOT: AXIS } = window.Report;
  const data = JSON.parse(document.getElementById('report-data').textContent);
  const root = document.getElementById('report');
  const LEVELS = data.levels; // index = level code: Other, Proximity, TA, RA
  const TA = 2;
  const RA = 3;
  const displays = data.displays;
  const page = window.Report.player(root, displays, {
    duration: data.duration, size: data.size,
    noFrames: 'No display drew a frame in this run, so there is nothing to watch' +
      (displays.length === 0 ? ' (no display was run).' : '.'),
  });
  if (!page) return;
  const { frameCount, timeAt, recordAt, xOf } = page;
  const valueCells = []; // {k: property index, cells: one per display}
  page.watch.append(buildValues());

  // ---- Published values at the frame --------------------------------------

  function buildValues() {
    const names = data.propertyNames;
    const groups = [
      ['Advisory', (n) => n.startsWith('advisory')],
      ['Tool-tip', (n) => n.startsWith('toolTip')],
      ['Gauge', (n) => !n.startsWith('advisory') && !n.startsWith('toolTip')],
    ];
    const body = el('tbody');
    for (const [label, member] of groups) {
      const rows = names.map((n, k) => [n, k]).filter(([n]) => member(n));
      if (!rows.length) continue;
      body.append(el('tr', { class: 'group' }, [el('th', { colspan: String(displays.length + 1), text: label })]));
      for (const [name, k] of rows) {
        const cells = displays.map((d) => el('td', { 'data-prop': name, 'data-display': d.name }));
        valueCells.push({ k, cells });
        body.append(el('tr', {}, [el('td', { class: 'name', text: name }), ...cells]));
      }
    }
    const head = el('thead', {}, [el('tr', {}, [
      el('th', { text: 'Published value' }), ...displays.map((d) => el('th', { text: d.name })),
    ])]);
    return el('div', { class: 'values' }, [
      el('h2', { text: 'Published at this frame' }),
      names.length ? el('table', { class: 'values-table' }, [head, body])
        : note('The module published no readable values.'),
    ]);
  }

  function showValue(cell, value) {
    cell.className = '';
    if (value === null || value === undefined) {
      cell.textContent = 'refused';
      cell.classList.add('refused');
    } else if (value === '') {
      cell.textContent = '(empty)';
      cell.classList.add('empty');
    } else {
      cell.textContent = String(value);
    }
  }

  // ---- Timelines per intruder ---------------------------------------------

  const PLOT = { ...AXIS, top: 20, bottom: 176 };
  const STRIP_H = 13;
  const STRIP_GAP = 4;
  const cursors = [];

  // The series of an intruder, frame by frame: values of the first display
  // that found it in that frame.
  function series(track, key) {
    const out = [];
    for (let i = 0; i < frameCount; ++i) {
      let v = null;
      for (const t of track.displays) {
        if (i < t[key].length && t[key][i] !== null) {
          v = t[key][i];
          break;
        }
      }
      out.push(v);
    }
    return out;
  }

  function polylines(svg, values, yOf, cls) {
    let run = [];
    const flush = () => {
      if (run.length === 1) {
        svg.append(svgEl('circle', {
          class: cls + ' point', cx: run[0][1], cy: run[0][2], r: 1.8, 'data-frames': String(run[0][0]),
        }));
      } else if (run.length > 1) {
        svg.append(svgEl('polyline', {
          class: cls,
          points: run.map((p) => p[1].toFixed(1) + ',' + p[2].toFixed(1)).join(' '),
          'data-frames': run.map((p) => p[0]).join(','),
        }));
      }
      run = [];
    };
    values.forEach((v, i) => {
      if (v === null) flush();
      else run.push([i, xOf(timeAt(i)), yOf(v)]);
    });
    flush();
  }

  // Bands of equal level: [start frame, end frame (exclusive), level code].
  function bands(levels) {
    const out = [];
    for (let i = 0; i < levels.length; ++i) {
      const v = levels[i];
      if (v === null) continue;
      if (out.length && out[out.length - 1][1] === i && out[out.length - 1][2] === v) {
        out[out.length - 1][1] = i + 1;
      } else {
        out.push([i, i + 1, v]);
      }
    }
    return out;
  }

  function bandEnd(end) {
    if (end < frameCount) return xOf(timeAt(end));
    const step = frameCount > 1 ? timeAt(frameCount - 1) - timeAt(frameCount - 2) : 1;
    return Math.min(PLOT.right, xOf(timeAt(frameCount - 1) + step));
  }

  function chart(track) {
    const distance = series(track, 'distance');
    const altitude = series(track, 'relativeAltitude');
    const found = distance.filter((v) => v !== null);
    const maxD = found.length ? Math.max(...found) : 1;
    const dStep = niceStep(Math.max(maxD, 0.1), 4);
    const dTop = niceCeil(maxD, dStep);
    const alts = altitude.filter((v) => v !== null).map(Math.abs);
    const maxA = alts.length ? Math.max(...alts, 100) : 1000;
    const aStep = niceStep(maxA, 2);
    const aTop = niceCeil(maxA, aStep);
    const yD = (v) => PLOT.bottom - (v / dTop) * (PLOT.bottom - PLOT.top);
    const yA = (v) => (PLOT.top + PLOT.bottom) / 2 - (v / aTop) * (PLOT.bottom - PLOT.top) / 2;
    const stripsTop = PLOT.bottom + 24;
    const height = stripsTop + track.displays.length * (STRIP_H + STRIP_GAP) + 4;
    const svg = svgEl('svg', {
      class: 'timeline', viewBox: '0 0 ' + W + ' ' + height, 'data-id': track.id,
      role: 'img', 'aria-label': 'timeline of ' + track.atcId,
    });

    // Advisory periods of the first display, faintly behind the plot.
    const first = track.displays[0];
    const colours0 = displays.find((d) => d.name === first.display).colours;
    for (const [s, e, v] of bands(first.level)) {
      if (v < TA) continue;
      svg.append(svgEl('rect', {
        x: xOf(timeAt(s)), y: PLOT.top, width: Math.max(0.5, bandEnd(e) - xOf(timeAt(s))),
        height: PLOT.bottom - PLOT.top, fill: colours0[v], 'fill-opacity': 0.13,
      }));
    }

    // Grid and axes.
    for (let v = 0; v <= dTop + 1e-9; v += dStep) {
      svg.append(svgEl('line', { class: 'grid', x1: PLOT.left, x2: PLOT.right, y1: yD(v), y2: yD(v) }));
      svg.append(svgEl('text', { x: PLOT.left - 6, y: yD(v) + 4, 'text-anchor': 'end', style: 'fill: var(--distance)' },
        +v.toFixed(2) + ''));
    }
    svg.append(svgEl('text', { x: PLOT.left - 6, y: PLOT.top - 7, 'text-anchor': 'end' }, 'nm'));
    for (let v = -aTop; v <= aTop + 1e-9; v += aStep) {
      svg.append(svgEl('text', { x: PLOT.right + 6, y: yA(v) + 4 }, signed(v, 0)));
    }
    svg.append(svgEl('text', { x: PLOT.right + 6, y: PLOT.top - 7 }, 'ft'));
    svg.append(svgEl('line', { class: 'zero', x1: PLOT.left, x2: PLOT.right, y1: yA(0), y2: yA(0) }));
    page.timeAxis(svg, PLOT.bottom);

    polylines(svg, altitude, yA, 'altitude');
    polylines(svg, distance, yD, 'distance');

    // The level bands of every display, in its own colours.
    track.displays.forEach((t, n) => {
      const colours = displays.find((d) => d.name === t.display).colours;
      const y = stripsTop + n * (STRIP_H + STRIP_GAP);
      svg.append(svgEl('rect', { class: 'strip-ground', x: PLOT.left, y: y, width: PLOT.right - PLOT.left, height: STRIP_H }));
      svg.append(svgEl('text', { x: PLOT.left - 6, y: y + STRIP_H - 2, 'text-anchor': 'end' }, t.display));
      for (const [s, e, v] of bands(t.level)) {
        const x = xOf(timeAt(s));
        svg.append(svgEl('rect', {
          class: 'band', x: x, y: y, width: Math.max(0.5, bandEnd(e) - x), height: STRIP_H,
          fill: colours[v], 'fill-opacity': v >= TA ? 0.95 : 0.55,
          'data-display': t.display, 'data-level': LEVELS[v], 'data-frame': s,
        }, undefined));
      }
    });

    // First TA and RA of each display; one marker where the displays agree.
    const marks = new Map();
    track.displays.forEach((t) => {
      const colours = displays.find((d) => d.name === t.display).colours;
      for (const [kind, code] of [['TA', TA], ['RA', RA]]) {
        const f = t['first' + kind];
        if (!f) continue;
        const key = kind + '@' + f.frame;
        if (marks.has(key)) marks.get(key).names.push(t.display);
        else marks.set(key, { kind, f, colour: colours[code], names: [t.display] });
      }
    });
    const all = track.displays.length;
    let row = 0;
    for (const m of marks.values()) {
      const x = xOf(m.f.time);
      svg.append(svgEl('line', {
        class: 'marker', x1: x, x2: x, y1: PLOT.top - 2, y2: PLOT.bottom, stroke: m.colour,
        'data-kind': m.kind, 'data-frame': m.f.frame,
      }));
      const who = m.names.length === all ? '' : m.names.join(', ') + ' ';
      svg.append(svgEl('text', {
        x: x + 3, y: PLOT.top + 10 + 12 * (row++ % 3), style: 'fill:' + m.colour,
      }, who + m.kind + ' ' + seconds(m.f.time)));
    }

    page.cursor(svg, PLOT.top - 2, height - 2);
    return { svg, distance, altitude };
  }

  function buildTimelines() {
    const section = el('section', { class: 'timelines' }, [el('h2', { text: 'Timelines' })]);
    root.append(section);
    if (data.trafficCount === 0) {
      section.append(note('No traffic in this scenario: nothing to chart.'));
      return;
    }
    if (!data.probes) {
      section.append(note('The hover probes were off (--no-probe): the run has no per-aircraft ' +
        'levels, distances or relative altitudes to chart.'));
      return;
    }
    if (data.traffic.length < data.trafficCount) {
      section.append(note(data.trafficCount + ' aircraft; charted: ' +
        (data.traffic.length ? 'the ' + data.traffic.length + ' that reached a TA.' : 'none, as none reached a TA.')));
    }
    const legend = el('div', { class: 'legend' }, [
      el('span', { class: 'key' }, [el('span', { class: 'stroke', style: 'border-color: var(--distance)' }), 'distance (nm, left)']),
      el('span', { class: 'key' }, [el('span', { class: 'stroke', style: 'border-color: var(--altitude); border-top-style: dashed' }), 'relative altitude (ft, right)']),
    ]);
    for (const d of displays) {
      const keys = LEVELS.map((name, v) => el('span', { class: 'key' }, [
        el('span', { class: 'swatch', style: 'background:' + d.colours[v] }), name]));
      legend.append(el('span', { class: 'key' }, [d.name + ':', ...keys]));
    }
    section.append(legend);
    for (const track of data.traffic) {
      const c = chart(track);
      const readout = el('span', { class: 'readout' });
      const title = track.atcId ? track.atcId + ' (id ' + track.id + ')' : 'id ' + track.id;
      section.append(el('div', { class: 'track', 'data-id': String(track.id) }, [
        el('div', { class: 'head' }, [el('h3', { text: title }), readout]),
        c.svg,
      ]));
      cursors.push({ track, readout, ...c });
    }
  }

  function showTrack(c, i) {
    const parts = [];
    if (c.distance[i] === null) {
      parts.push('not found at ' + seconds(timeAt(i)));
    } else {
      parts.push(seconds(timeAt(i)) + ': ', el('b', { text: c.distance[i].toFixed(2) + ' nm' }), ', ',
        el('b', { text: signed(c.altitude[i], 0) + ' ft' }));
    }
    for (const t of c.track.displays) {
      const v = i < t.level.length ? t.level[i] : null;
      parts.push(' \u00B7 ' + t.display + ' ', el('b', { text: v === null ? 'not shown' : LEVELS[v] }));
    }
    c.readout.replaceChildren(...parts);
  }

  buildTimelines();

  page.onFrame((i, previous) => {
    for (const { k, cells } of valueCells) {
      cells.forEach((cell, n) => {
        const d = displays[n];
        const rec = recordAt(d, i);
        const value = rec && i < d.values.length ? d.values[i][k] : null;
        showValue(cell, value);
        if (previous >= 0 && i > 0 && i - 1 < d.values.length && d.values[i - 1][k] !== value) {
          cell.classList.add('changed');
        }
      });
    }
    for (const c of cursors) showTrack(c, i);
  });
  page.start();
})();
