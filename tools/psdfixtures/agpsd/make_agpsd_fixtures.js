// Writes layered-document fixtures with ag-psd into tests/data/psd and, for every layer with
// pixels, the RGBA that ag-psd itself reads back, with a line per layer in manifest_agpsd.txt:
//   file layer-name width height left top
// Run once by hand: npm ci && node make_agpsd_fixtures.js (in this folder).
'use strict';
const fs = require('fs');
const path = require('path');
const ag = require('ag-psd');

// Pixels only, no drawing: a canvas that makes image data is all the reader needs.
const imageData = (width, height) => ({ width, height, data: new Uint8ClampedArray(width * height * 4) });
ag.initializeCanvas((width, height) => ({ width, height, getContext: () => ({ createImageData: imageData }) }), imageData);

const out = path.join(__dirname, '..', '..', '..', 'tests', 'data', 'psd');

function pixels(width, height, shade) {
  const data = new Uint8ClampedArray(width * height * 4);
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const i = (y * width + x) * 4;
      data[i] = (x * 37 + shade) & 255;
      data[i + 1] = (y * 53 + shade * 3) & 255;
      data[i + 2] = (x * y * 11 + shade) & 255;
      data[i + 3] = 128 + ((x + y + shade) & 127);
    }
  }
  return { width, height, data };
}

function maskPixels(width, height) {
  const data = new Uint8ClampedArray(width * height * 4);
  for (let i = 0; i < width * height; ++i) data[i * 4] = data[i * 4 + 1] = data[i * 4 + 2] = data[i * 4 + 3] = (i * 29) & 255;
  return { width, height, data };
}

const layout = {
  width: 24,
  height: 16,
  imageData: pixels(24, 16, 0),
  children: [
    { name: 'background', left: 0, top: 0, imageData: pixels(24, 16, 1) },
    {
      name: 'ui',
      opened: true,
      children: [
        {
          name: 'menu',
          children: [
            {
              name: 'b_01_in',
              left: 2, top: 3, imageData: pixels(6, 4, 2),
              mask: { left: 1, top: 2, imageData: maskPixels(8, 6) },
              effects: {
                dropShadow: [{ enabled: true, color: { r: 10, g: 20, b: 30 }, opacity: 0.5, angle: 90,
                  distance: { units: 'Pixels', value: 3 }, size: { units: 'Pixels', value: 4 } }],
                outerGlow: { enabled: true, color: { r: 255, g: 255, b: 0 }, size: { units: 'Pixels', value: 6 } },
                solidFill: [{ enabled: true, color: { r: 0, g: 0, b: 255 }, opacity: 0.25 }],
              },
            },
            { name: 'b_02|center', left: 10, top: 4, imageData: pixels(5, 3, 3) },
          ],
        },
        { name: 'title', left: 12, top: 1, imageData: pixels(9, 5, 4), opacity: 0.75 },
      ],
    },
    // No levels layer: ag-psd writes 63 level records without the "Lvls" extension, which the reader
    // refuses (-505) as it refuses every levels block of another form.
    { name: 'curves', adjustment: { type: 'curves', rgb: [{ input: 0, output: 0 }, { input: 128, output: 160 }, { input: 255, output: 255 }] } },
    { name: 'hue', adjustment: { type: 'hue/saturation', master: { hue: 10, saturation: 20, lightness: 0 } } },
    { name: 'solid fill', vectorFill: { type: 'color', color: { r: 255, g: 0, b: 0 } } },
    { name: 'gradient fill', vectorFill: { type: 'solid', name: 'g', colorStops: [{ color: { r: 0, g: 0, b: 0 }, location: 0, midpoint: 50 }, { color: { r: 255, g: 255, b: 255 }, location: 1, midpoint: 50 }], opacityStops: [{ opacity: 1, location: 0, midpoint: 50 }, { opacity: 1, location: 1, midpoint: 50 }], style: 'linear', angle: 45, scale: 0.5 } },
    { name: 'top', left: 0, top: 12, imageData: pixels(24, 4, 5) },
  ],
};

fs.mkdirSync(out, { recursive: true });
const lines = [];
function write(name, psd) {
  const file = name + '.psd';
  const buffer = ag.writePsdBuffer(psd, { generateThumbnail: false });
  fs.writeFileSync(path.join(out, file), buffer);
  const read = ag.readPsd(buffer, { useImageData: true, skipThumbnail: true });
  const walk = (layers) => {
    for (const layer of layers || []) {
      if (layer.children) walk(layer.children);
      if (!layer.imageData) continue;
      const dump = `${name}.${layer.name.replace(/[^A-Za-z0-9_]/g, '_')}.rgba`;
      fs.writeFileSync(path.join(out, dump), Buffer.from(layer.imageData.data.buffer));
      lines.push(`${file} ${dump} ${layer.imageData.width} ${layer.imageData.height} ${layer.left} ${layer.top} ${layer.name}`);
    }
  };
  walk(read.children);
}

write('agpsd_layout', layout);
fs.writeFileSync(path.join(out, 'manifest_agpsd.txt'), lines.join('\n') + '\n');
