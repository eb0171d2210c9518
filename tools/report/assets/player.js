// What every report page shares, as window.Report: element helpers, the
// player (the frames of every view side by side with a slider, play/pause,
// arrow keys, frame number and time) and the timelines' time axis and
// cursors. The run kind's script, which follows this one in the page, adds
// what it shows beside the frames and below them.
window.Report = (function () {
  'use strict';

  const SVG_NS = 'http://www.w3.org/2000/svg';

  function el(tag, attrs, children) {
    const e = document.createElement(tag);
    for (const [k, v] of Object.entries(attrs || {})) {
      if (k === 'text') e.textContent = v;
      else e.setAttribute(k, v);
    }
    for (const c of children || []) e.append(c);
    return e;
  }

  function svgEl(tag, attrs, text) {
    const e = document.createElementNS(SVG_NS, tag);
    for (const [k, v] of Object.entries(attrs || {})) e.setAttribute(k, String(v));
    if (text !== undefined) e.textContent = text;
    return e;
  }

  function note(text) {
    return el('p', { class: 'note', text: text });
  }

  function seconds(t) {
    return (Number.isInteger(t) ? String(t) : t.toFixed(1)) + ' s';
  }

  function signed(v, digits) {
    const s = v.toFixed(digits);
    return v > 0 ? '+' + s : s;
  }

  function niceStep(range, count) {
    const raw = range / count;
    const p = Math.pow(10, Math.floor(Math.log10(raw)));
    const m = raw / p;
    return (m <= 1 ? 1 : m <= 2 ? 2 : m <= 2.5 ? 2.5 : m <= 5 ? 5 : 10) * p;
  }

  function niceCeil(v, step) {
    return Math.max(step, Math.ceil(v / step - 1e-9) * step);
  }

  // The timelines' width in SVG units and their plot area's edges.
  const W = 900;
  const PLOT = { left: 56, right: W - 62 };

  // The player over `views` ([{name, size: [w, h], frames: [{frame, time,
  // image, mouse: [x, y]?}]}]) in `root`; null (with the page saying so)
  // when no view has a frame. options: duration (s), size (of a view
  // without one), noFrames (what to say then).
  function player(root, views, options) {
    const frameCount = views.reduce((n, v) => Math.max(n, v.frames.length), 0);
    if (frameCount === 0) {
      root.append(el('section', {}, [el('h2', { text: 'No frames' }), note(options.noFrames)]));
      return null;
    }

    // The record of view v at slider position i (views that drew fewer
    // frames hold their last one).
    const recordAt = (v, i) => (v.frames.length ? v.frames[Math.min(i, v.frames.length - 1)] : null);
    const timeAt = (i) => {
      for (const v of views) {
        if (i < v.frames.length) return v.frames[i].time;
      }
      return 0;
    };
    const span = Math.max(options.duration || 0, timeAt(frameCount - 1), 1e-6);
    const xOf = (t) => PLOT.left + (t / span) * (PLOT.right - PLOT.left);

    // For each view and frame, the index of the latest kept image at or
    // before it (images may be kept every few seconds, frames every cycle).
    const imageIndex = views.map((v) => {
      let last = -1;
      return v.frames.map((f, j) => (f.image ? (last = j) : last));
    });

    const figures = views.map((v) => {
      const size = v.size || options.size;
      const img = el('img', { class: 'frame', 'data-view': v.name, alt: v.name });
      const any = v.frames.some((f) => f.image);
      const shot = el('div', { class: 'shot' }, [any ? img : el('div', { class: 'noimage', text: 'no image kept' })]);
      if (!any) {
        shot.firstChild.style.width = size[0] + 'px';
        shot.firstChild.style.height = size[1] + 'px';
      }
      const mouse = v.frames.some((f) => f.mouse) ? el('div', { class: 'mouse', 'data-view': v.name, title: 'the mouse' }) : null;
      if (mouse) shot.append(mouse);
      const caption = el('figcaption');
      return { v, img, caption, any, mouse, figure: el('figure', {}, [shot, caption]) };
    });

    const slider = el('input', {
      id: 'slider', type: 'range', min: '0', max: String(frameCount - 1), step: '1', value: '0',
      'aria-label': 'frame',
    });
    const clock = el('span', { id: 'clock', class: 'clock' });
    const playButton = el('button', { id: 'play', type: 'button', title: 'play / pause (space)', text: 'Play' });
    const button = (label, title, action) => {
      const b = el('button', { type: 'button', title: title, text: label });
      b.addEventListener('click', action);
      return b;
    };

    const watch = el('section', { class: 'watch' }, [
      el('div', { class: 'player' }, [
        el('h2', { text: 'Frames' }),
        el('div', { class: 'frames' }, figures.map((f) => f.figure)),
        el('div', { class: 'controls' }, [
          button('|<', 'first frame (Home)', () => show(0)),
          button('<', 'previous frame (\u2190)', () => show(current - 1)),
          playButton,
          button('>', 'next frame (\u2192)', () => show(current + 1)),
          button('>|', 'last frame (End)', () => show(frameCount - 1)),
          slider,
        ]),
        el('p', { class: 'hint' }, [clock]),
      ]),
    ]);
    root.append(watch);

    let current = -1;
    let timer = null;
    const listeners = [];
    const cursors = [];

    function showFigure(f, n, i) {
      const j = imageIndex[n][Math.min(i, imageIndex[n].length - 1)];
      if (f.any && j >= 0) {
        const rec = f.v.frames[j];
        if (f.img.getAttribute('src') !== rec.image) f.img.setAttribute('src', rec.image);
        f.caption.replaceChildren(el('b', { text: f.v.name }), ' image at ' + seconds(rec.time) +
          (j === i ? '' : ' (the latest kept)'));
      } else {
        f.caption.replaceChildren(el('b', { text: f.v.name }),
          f.any ? ' no image yet' : ' no images were kept in this run');
      }
      const rec = recordAt(f.v, i);
      if (f.mouse && rec && rec.mouse) {
        f.mouse.style.left = (100 * rec.mouse[0]) + '%';
        f.mouse.style.top = (100 * rec.mouse[1]) + '%';
        f.mouse.dataset.x = rec.mouse[0];
        f.mouse.dataset.y = rec.mouse[1];
      }
    }

    function show(i) {
      i = Math.max(0, Math.min(frameCount - 1, i));
      const previous = current;
      current = i;
      slider.value = String(i);
      const first = views.find((v) => i < v.frames.length) || views[0];
      clock.textContent = 'frame ' + recordAt(first, i).frame + ' of ' + (frameCount - 1) +
        ' \u00B7 t = ' + seconds(timeAt(i)) + '  (\u2190 \u2192 step, space plays)';
      figures.forEach((f, n) => showFigure(f, n, i));
      const x = xOf(timeAt(i));
      for (const c of cursors) {
        c.setAttribute('x1', x);
        c.setAttribute('x2', x);
      }
      for (const fn of listeners) fn(i, previous);
    }

    function play(on) {
      if (on && !timer) {
        if (current >= frameCount - 1) show(0);
        timer = setInterval(() => {
          if (current >= frameCount - 1) play(false);
          else show(current + 1);
        }, 200);
      } else if (!on && timer) {
        clearInterval(timer);
        timer = null;
      }
      playButton.textContent = timer ? 'Pause' : 'Play';
    }

    function start() {
      playButton.addEventListener('click', () => play(!timer));
      slider.addEventListener('input', () => show(Number(slider.value)));
      document.addEventListener('keydown', (e) => {
        if (e.altKey || e.ctrlKey || e.metaKey) return;
        if (e.key === ' ' && e.target.tagName !== 'BUTTON') {
          play(!timer);
        } else if (e.target === slider) {
          return; // the slider steps by itself
        } else if (e.key === 'ArrowRight') {
          show(current + 1);
        } else if (e.key === 'ArrowLeft') {
          show(current - 1);
        } else if (e.key === 'Home') {
          show(0);
        } else if (e.key === 'End') {
          show(frameCount - 1);
        } else {
          return;
        }
        e.preventDefault();
      });
      // Fetch every kept image once, so stepping does not flicker.
      for (const v of views) {
        for (const f of v.frames) {
          if (f.image) new Image().src = f.image;
        }
      }
      show(0);
    }

    // Ticks and labels of the time axis along y, from 0 to the run's end.
    function timeAxis(svg, y) {
      const step = niceStep(span, 9);
      for (let t = 0; t <= span + 1e-9; t += step) {
        svg.append(svgEl('line', { class: 'grid', x1: xOf(t), x2: xOf(t), y1: y, y2: y + 4 }));
        svg.append(svgEl('text', { x: xOf(t), y: y + 16, 'text-anchor': 'middle' }, seconds(+t.toFixed(3))));
      }
    }

    // A vertical line from y1 to y2 that follows the slider.
    function cursor(svg, y1, y2) {
      const line = svgEl('line', { class: 'cursor', x1: PLOT.left, x2: PLOT.left, y1: y1, y2: y2 });
      svg.append(line);
      cursors.push(line);
      return line;
    }

    return {
      frameCount, span, watch, recordAt, timeAt, xOf, timeAxis, cursor, show, start,
      current: () => current,
      onFrame: (fn) => listeners.push(fn),
    };
  }

  return { el, svgEl, note, seconds, signed, niceStep, niceCeil, W, PLOT, player };
})();
